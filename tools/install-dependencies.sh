#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need. Run as root.
# The host tests need ardour, jalv, jackd2, lv2-dev and sordi (lv2_validate); the peer benchmark
# builds against liblilv-dev (its peer plug-ins come from bench/peers/install-peers.sh).
set -euo pipefail

export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends \
    build-essential cmake ninja-build pkg-config \
    juce-modules-source \
    libasound2-dev libjack-jackd2-dev libx11-dev libxrandr-dev libxinerama-dev libxcursor-dev \
    libxext-dev libxcomposite-dev libfreetype-dev libfontconfig1-dev libgl1-mesa-dev \
    libgtk-3-dev \
    libgtest-dev libgmock-dev libbenchmark-dev \
    xvfb xauth x11-utils xdotool imagemagick fonts-dejavu-core \
    python3 python3-numpy python3-pil \
    ardour jalv jackd2 lv2-dev sordi liblilv-dev
