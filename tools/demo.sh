#!/usr/bin/env bash
# Builds the suite and runs the substitute host on cvpitch: a few control
# voltages in, their frequencies out, each stamped with its sample.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset default >/dev/null
cmake --build --preset default

echo
echo "cvpitch: 5 V at sample 0, 6 V at 100, 4 V at 150, 0 V at 200, 10 V at 250 (44100 Hz, blocks of 64)"
build/host/suitehost dsp build/plugins/cvpitch.so cvpitch --rate 44100 --blocks 5 --block-size 64 \
  --set Volts=5@0 --set Volts=6@100 --set Volts=4@150 --set Volts=0@200 --set Volts=10@250
