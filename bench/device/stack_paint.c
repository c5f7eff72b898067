/* Linked into the bench's build of the Uno example only: before main runs, every byte between
 * the end of the variables and the top of RAM is painted, so the deepest the stack ever went
 * can be read back from the emulator afterwards. */
#include <stdint.h>

extern uint8_t _end;
extern uint8_t __stack;

void ksvd_bench_paint_stack(void) __attribute__((naked, used, section(".init3")));

void ksvd_bench_paint_stack(void) {
    uint8_t* p = &_end;
    while (p <= &__stack) {
        *p++ = 0xC5;
    }
}
