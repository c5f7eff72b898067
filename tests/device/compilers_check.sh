#!/usr/bin/env bash
# The device library builds warning-free (-Wall -Wextra -Werror -pedantic, C99) with every
# compiler it names: gcc, clang, avr-gcc and arm-none-eabi-gcc. A missing cross compiler is
# told, not failed; if none of the cross compilers is there the test is skipped (exit 77).
set -uo pipefail
src=$(cd "$(dirname "$0")/../../device/src" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
flags=(-std=c99 -Wall -Wextra -Werror -pedantic -Os -ffreestanding)
failed=0 cross=0
build() { # compiler, its own flags...
    local cc=$1
    shift
    if ! command -v "$cc" >/dev/null 2>&1; then
        echo "$cc: not installed"
        return
    fi
    for c in "$src"/ksvd_*.c; do
        if ! "$cc" "${flags[@]}" "$@" -c "$c" -o "$out/$(basename "$c").o"; then
            echo "$cc: $(basename "$c") FAILED"
            failed=1
        fi
    done
    echo "$cc: built"
    case $cc in avr-gcc | arm-none-eabi-gcc) cross=$((cross + 1)) ;; esac
}
build gcc
build clang
build avr-gcc -mmcu=atmega328p
build arm-none-eabi-gcc -mcpu=cortex-m0 -mthumb
[ "$failed" -ne 0 ] && exit 1
[ "$cross" -eq 0 ] && exit 77
exit 0
