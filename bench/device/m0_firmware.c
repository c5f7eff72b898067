/* A Cortex-M0 firmware shaped like the Uno example (the same ten controls, the same calls), for
 * the footprint figure only: the serial port is a pair of memory-mapped registers. */
#include "ksvd.h"

#include <string.h>

#define UART_DATA (*(volatile uint32_t*)0x40002000u)
#define UART_READY (*(volatile uint32_t*)0x40002004u)
#define TICKS (*(volatile uint32_t*)0x40003000u)

static uint8_t led, toggle, blink, counters, reset;
static char status[12] = "LED off";
static int32_t speed, uptime, changes;
static char note[16];

static const ksvd_field speed_fields[] = {KSVD_U32('n', 3),
                                          KSVD_TEXTS('I', "Slow\0Medium\0Fast\0")};
static const ksvd_field seconds_fields[] = {KSVD_TEXT('f', "%% s")};

/* clang-format off */
static const ksvd_control panel[] = {
    {1, 0, 'G', 0, "LED", NULL, &led, sizeof led},
    {2, 0, 'T', 0, "Status", NULL, status, sizeof status},
    {3, 0, 'B', 0, "Toggle", NULL, &toggle, sizeof toggle},
    {4, 0, 'G', 0, "Blink", NULL, &blink, sizeof blink},
    {5, 0, 'L', 2, "Speed", speed_fields, &speed, sizeof speed},
    {6, KSVD_NEW_ROW, 'S', 0, "Counters", NULL, &counters, sizeof counters},
    {7, 0, 'N', 1, "Uptime", seconds_fields, &uptime, sizeof uptime},
    {8, 0, 'N', 0, "Changes", NULL, &changes, sizeof changes},
    {9, 0, 'B', 0, "Reset", NULL, &reset, sizeof reset},
    {10, KSVD_EDITABLE, 'T', 0, "Note", NULL, note, sizeof note},
};
/* clang-format on */

static ksvd_device dev;

static void serial_write(void* ctx, const uint8_t* bytes, uint16_t n) {
    (void)ctx;
    while (n--) {
        while (!UART_READY) {
        }
        UART_DATA = *bytes++;
    }
}

static void on_value(void* ctx, uint32_t id, const uint8_t* data, uint16_t len) {
    (void)ctx;
    (void)data;
    (void)len;
    if (id == 1) {
        strcpy(status, led ? "LED on" : "LED off");
        changes++;
        ksvd_changed(&dev, 2);
        ksvd_changed(&dev, 8);
    }
}

static const ksvd_config config = {
    .name = "M0",
    .controls = panel,
    .ncontrols = sizeof panel / sizeof panel[0],
    .max_frame = 64,
    .ping_period_ms = 5000,
    .write = serial_write,
    .on_value = on_value,
};

int main(void) {
    ksvd_init(&dev, &config);
    for (;;) {
        if (UART_READY & 2u) {
            uint8_t byte = (uint8_t)UART_DATA;
            ksvd_feed(&dev, &byte, 1);
        }
        ksvd_poll(&dev, TICKS);
    }
}
