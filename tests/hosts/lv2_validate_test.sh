#!/usr/bin/env bash
# Validates the built LV2 bundle's Turtle files with lv2_validate (against the LV2 vocabularies
# installed in /usr/lib/lv2) and records what it reports. The Turtle is written by JUCE 7.0.5's
# LV2 helper at build time; the findings it causes are listed below, one line each, with their
# counts. Any other finding (a new kind, or one about a subject JUCE did not write) fails.
#
#   lv2_validate_test.sh <Stompvale.lv2 bundle>
set -euo pipefail

bundle=$(realpath -m "$1")
if ! command -v lv2_validate >/dev/null; then
    echo "FAIL lv2_validate is missing: run tools/install-dependencies.sh (Debian packages lv2-dev, sordi)"
    exit 1
fi
if [ ! -f "$bundle/manifest.ttl" ]; then
    echo "FAIL the bundle $bundle has not been built"
    exit 1
fi

log=$(mktemp "${TMPDIR:-/tmp}/stompvale-lv2-validate-XXXXXX")
trap 'rm -f "$log"' EXIT
lv2_validate "$bundle"/*.ttl > "$log" 2>&1 || true

/usr/bin/python3 - "$log" <<'PY'
import re
import sys

lines = open(sys.argv[1], encoding="utf-8", errors="replace").read().splitlines()

# Each finding is an "error:" or "warning:" line followed by indented subject/predicate/object.
findings = []
for line in lines:
    if re.match(r"^(error|warning): ", line):
        findings.append([line.strip()])
    elif line.startswith("       ") and findings:
        findings[-1].append(line.strip())

ours = "https://stompvale.example.org/plugins/stompvale"
LV2 = "http://lv2plug.in/ns/lv2core#"
# What JUCE 7.0.5 writes and the validator objects to (kind, test on the finding).
known = [
    ("lv2:portProperty (toggled, enumeration) on a parameter: JUCE marks bool parameters so",
     lambda f: "Subject not in domain <" + LV2 + "Port>" in f[0] and f[1].startswith(ours + ":")
               and f[2] == LV2 + "portProperty"),
    ("doap:maintainer and doap:release on the plug-in, which is not declared a doap:Project",
     lambda f: "Subject not in domain <http://usefulinc.com/ns/doap#Project>" in f[0] and f[1] == ours),
    ("ui:noUserResize given as the UI's extension data",
     lambda f: "Object not in range <" + LV2 + "ExtensionData>" in f[0] and f[1] == ours + ":UI"),
    ("opts:interface given as an optional feature of the UI",
     lambda f: "Object not in range <" + LV2 + "Feature>" in f[0] and f[1] == ours + ":UI"),
    ("the preset JUCE writes for our one (unnamed) program stores an undeclared :Program property",
     lambda f: ("Use of undefined property" in f[0] or "Program> has no label" in f[0])
               and any(part == ours + ":Program" for part in f[1:])),
]

counts = [0] * len(known)
unknown = []
for finding in findings:
    for index, (_, test) in enumerate(known):
        if test(finding):
            counts[index] += 1
            break
    else:
        unknown.append(finding)

summary = [line for line in lines if line.startswith("Found ")]
print("ok   lv2_validate ran: " + (summary[-1] if summary else "no summary line"))
for (kind, _), count in zip(known, counts):
    print(f"     {count:4d} x {kind} (JUCE's Turtle)")
if unknown:
    for finding in unknown:
        print("FAIL " + " | ".join(finding))
    print(f"FAIL {len(unknown)} finding(s) not of the known kinds")
    sys.exit(1)
print(f"ok   no other findings ({len(findings)} in all)")
PY
