#!/usr/bin/env bash
# Prints the device library's footprint beside Firmata's published figures:
#   ATmega328P (avr-gcc -Os): library flash and RAM in the Uno example (ten controls), and the
#   stack's deepest point, painted and read back in qemu-system-avr over a played session;
#   Cortex-M0 (arm-none-eabi-gcc -Os): library flash in a firmware with the same panel;
#   host: parser speed (MB/s) of build/bench/device/ksvd_parse_bench, when built.
# Usage: bench/device/footprint.sh [BUILD_DIR]   (default build)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
sizes() { python3 bench/device/map_sizes.py "$1" "$2"; }
field() { sed -n "s/.*$1=\([0-9]*\).*/\1/p" <<<"$2"; }
verdict() { [ "$1" -le "$2" ] && echo "within $2" || echo "OVER $2"; }

echo "Kestrovane device library footprint (library code only: the sections of device/src)"
echo

if command -v avr-gcc >/dev/null; then
    avr-gcc -mmcu=atmega328p -Os -std=c99 -c bench/device/stack_paint.c -o "$out/paint.o"
    device/examples/uno/build.sh "$out/uno" -Wl,"$out/paint.o"
    lib=$(sizes "$out/uno/uno-example.map" 'obj/ksvd_')
    flash=$(( $(field text "$lib") + $(field rodata "$lib") + $(field progmem "$lib") ))
    # On AVR constants live in RAM as well; the device state is the author's static ksvd_device.
    state=$((16#$(avr-nm -S "$out/uno/uno-example.elf" | awk '$4=="dev"{print $2}')))
    ram=$(( state + $(field data "$lib") + $(field bss "$lib") + $(field rodata "$lib") ))
    echo "ATmega328P, avr-gcc -Os, Uno example (10 controls):"
    printf '  %-34s %6d B   (%s)   Firmata, no features: 8 804 B\n' "library flash" "$flash" \
        "$(verdict "$flash" 3072)"
    printf '  %-34s %6d B   (%s)   Firmata, no features: 626 B; every feature: ~625 B left free\n' \
        "library RAM (state + constants)" "$ram" "$(verdict "$ram" 128)"
    if command -v qemu-system-avr >/dev/null; then
        end=$(avr-nm "$out/uno/uno-example.elf" | awk '$3=="_end"{print $1}')
        result=$(python3 bench/device/uno_session.py "$out/uno/uno-example.elf" \
            $((16#$end - 0x800000)))
        stack=$(field stack_peak "$result")
        printf '  %-34s %6d B   (%s; whole firmware: loop, interrupt and library)\n' \
            "stack, deepest (painted, qemu)" "$stack" "$(verdict "$stack" 128)"
        echo "  (session: $(field answered "$result") of 11 steps answered)"
    else
        echo "  stack: qemu-system-avr not installed, not measured"
    fi
else
    echo "ATmega328P: avr-gcc not installed, not measured"
fi
echo

if command -v arm-none-eabi-gcc >/dev/null; then
    mkdir -p "$out/m0"
    for c in device/src/ksvd_*.c bench/device/m0_firmware.c; do
        arm-none-eabi-gcc -mcpu=cortex-m0 -mthumb -Os -std=c99 -Wall -Wextra -ffunction-sections \
            -fdata-sections -Idevice/src -c "$c" -o "$out/m0/$(basename "${c%.c}").o"
    done
    arm-none-eabi-gcc -mcpu=cortex-m0 -mthumb -Os --specs=nano.specs --specs=nosys.specs \
        -Wl,--gc-sections -Wl,-Map="$out/m0/m0.map" "$out"/m0/*.o -o "$out/m0/m0.elf"
    lib=$(sizes "$out/m0/m0.map" 'm0/ksvd_')
    flash=$(( $(field text "$lib") + $(field rodata "$lib") ))
    echo "Cortex-M0, arm-none-eabi-gcc -mcpu=cortex-m0 -Os, same panel:"
    printf '  %-34s %6d B   (%s)\n' "library flash" "$flash" "$(verdict "$flash" 2560)"
else
    echo "Cortex-M0: arm-none-eabi-gcc not installed, not measured"
fi
echo

if [ -x "$build/bench/device/ksvd_parse_bench" ]; then
    "$build/bench/device/ksvd_parse_bench"
else
    echo "host parser: build ksvd_parse_bench first (cmake --build $build --target ksvd_parse_bench)"
fi
