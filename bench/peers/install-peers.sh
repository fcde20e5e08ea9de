#!/usr/bin/env bash
# Installs the Debian LV2 plug-ins the peer benchmark measures against. Run as root, after
# tools/install-dependencies.sh. Not needed for the build or the tests.
set -euo pipefail

export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq --no-install-recommends \
    guitarix-lv2 calf-plugins swh-lv2 mda-lv2 x42-plugins invada-studio-plugins-lv2
