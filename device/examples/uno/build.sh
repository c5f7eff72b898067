#!/usr/bin/env bash
# Builds the Uno example with avr-gcc: OUTDIR/uno-example.elf (and .hex for a programmer).
# Usage: device/examples/uno/build.sh OUTDIR [extra avr-gcc flags]
set -euo pipefail
out=${1:?usage: build.sh OUTDIR [flags]}
shift
here=$(cd "$(dirname "$0")" && pwd)
src=$here/../../src
flags=(-mmcu=atmega328p -DF_CPU=16000000UL -Os -std=c99 -Wall -Wextra -Werror -pedantic
       -ffunction-sections -fdata-sections -I"$src" "$@")
mkdir -p "$out/obj"
objects=()
for c in "$src"/ksvd_*.c; do
    o=$out/obj/$(basename "${c%.c}").o
    avr-gcc "${flags[@]}" -c "$c" -o "$o"
    objects+=("$o")
done
avr-gcc "${flags[@]}" -x c -c "$here/uno.ino" -o "$out/obj/uno.o"
avr-gcc "${flags[@]}" -Wl,--gc-sections -Wl,-Map="$out/uno-example.map" \
    "$out/obj/uno.o" "${objects[@]}" -o "$out/uno-example.elf"
avr-objcopy -O ihex -R .eeprom "$out/uno-example.elf" "$out/uno-example.hex"
