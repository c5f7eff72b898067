/* Kestrovane on an Arduino Uno: USART0 at 115200 baud, plain avr-libc (no Arduino core needed,
 * though the Arduino IDE builds it as a sketch too). A latch "LED" drives pin 13; the read-only
 * text "Status" says "LED on" or "LED off" after each change. The tables stay in flash. */
#include <avr/interrupt.h>
#include <avr/io.h>
#include <avr/pgmspace.h>
#include <string.h>

#include <ksvd.h>

#ifndef F_CPU
#define F_CPU 16000000UL
#endif

enum {
    ID_LED = 1,
    ID_STATUS,
    ID_TOGGLE,
    ID_BLINK,
    ID_SPEED,
    ID_COUNTERS,
    ID_UPTIME,
    ID_CHANGES,
    ID_RESET,
    ID_NOTE
};

/* The values: the firmware's own variables, sent as they are (little-endian, like the AVR). */
static uint8_t led, toggle, blink, counters, reset;
static char status[12] = "LED off";
static int32_t speed, uptime, changes;
static char note[16];

static const char t_name[] PROGMEM = "Uno";
static const char t_led[] PROGMEM = "LED";
static const char t_status[] PROGMEM = "Status";
static const char t_toggle[] PROGMEM = "Toggle";
static const char t_blink[] PROGMEM = "Blink";
static const char t_speed[] PROGMEM = "Speed";
static const char t_items[] PROGMEM = "Slow\0Medium\0Fast\0";
static const char t_counters[] PROGMEM = "Counters";
static const char t_uptime[] PROGMEM = "Uptime";
static const char t_seconds[] PROGMEM = "%% s";
static const char t_changes[] PROGMEM = "Changes";
static const char t_reset[] PROGMEM = "Reset";
static const char t_note[] PROGMEM = "Note";

static const ksvd_field speed_fields[] PROGMEM = {KSVD_U32('n', 3), KSVD_TEXTS('I', t_items)};
static const ksvd_field seconds_fields[] PROGMEM = {KSVD_TEXT('f', t_seconds)};

/* id, flags, tag, field count, caption, fields, value buffer, its size: one control a line. */
/* clang-format off */
static const ksvd_control panel[] PROGMEM = {
    {ID_LED, 0, 'G', 0, t_led, NULL, &led, sizeof led},
    {ID_STATUS, 0, 'T', 0, t_status, NULL, status, sizeof status},
    {ID_TOGGLE, 0, 'B', 0, t_toggle, NULL, &toggle, sizeof toggle},
    {ID_BLINK, 0, 'G', 0, t_blink, NULL, &blink, sizeof blink},
    {ID_SPEED, 0, 'L', KSVD_NFIELDS(speed_fields), t_speed, speed_fields, &speed, sizeof speed},
    {ID_COUNTERS, KSVD_NEW_ROW, 'S', 0, t_counters, NULL, &counters, sizeof counters},
    {ID_UPTIME, 0, 'N', 1, t_uptime, seconds_fields, &uptime, sizeof uptime},
    {ID_CHANGES, 0, 'N', 0, t_changes, NULL, &changes, sizeof changes},
    {ID_RESET, 0, 'B', 0, t_reset, NULL, &reset, sizeof reset},
    {ID_NOTE, KSVD_EDITABLE, 'T', 0, t_note, NULL, note, sizeof note},
};
/* clang-format on */

static ksvd_device dev;

/* Received bytes wait here for the loop: the library is never called from an interrupt. When
 * the ring is full the byte stays in the UART and the interrupt pauses until the loop has
 * made room, rather than dropping it. */
static volatile uint8_t rx_ring[64];
static volatile uint8_t rx_head, rx_tail;

ISR(USART_RX_vect) {
    uint8_t next = (uint8_t)((rx_head + 1) % sizeof rx_ring);
    if (next == rx_tail) {
        UCSR0B &= (uint8_t)~_BV(RXCIE0);
        return;
    }
    rx_ring[rx_head] = UDR0;
    rx_head = next;
}

/* Milliseconds from timer 1 counting at clock / 64 (250 counts a millisecond), read by the
 * loop, which comes round far more often than the counter wraps (every 262 ms). */
static uint32_t millis(void) {
    static uint32_t ms;
    static uint16_t last, counts;
    uint16_t now = TCNT1;
    counts += (uint16_t)(now - last);
    last = now;
    while (counts >= 250) {
        counts -= 250;
        ms++;
    }
    return ms;
}

static uint8_t read_flash(const void* address) {
    return pgm_read_byte(address);
}

static void serial_write(void* ctx, const uint8_t* bytes, uint16_t n) {
    (void)ctx;
    while (n--) {
        while (!(UCSR0A & _BV(UDRE0))) {
        }
        UDR0 = *bytes++;
    }
}

static void set_led(uint8_t on) {
    led = on;
    if (on) {
        PORTB |= _BV(PB5);
    } else {
        PORTB &= (uint8_t)~_BV(PB5);
    }
    strcpy(status, on ? "LED on" : "LED off");
    changes++;
    ksvd_changed(&dev, ID_STATUS);
    ksvd_changed(&dev, ID_CHANGES);
}

static void on_value(void* ctx, uint32_t id, const uint8_t* data, uint16_t len) {
    (void)ctx;
    (void)data;
    (void)len;
    switch (id) {
    case ID_LED: /* the library has written the new state into `led` */
        set_led(led != 0);
        break;
    case ID_TOGGLE:
        set_led(!led);
        ksvd_changed(&dev, ID_LED);
        break;
    case ID_RESET:
        changes = 0;
        ksvd_changed(&dev, ID_CHANGES);
        break;
    default: /* blink, speed and note are read where they are used */
        break;
    }
}

static const ksvd_config config = {
    .name = t_name,
    .controls = panel,
    .ncontrols = KSVD_NFIELDS(panel),
    .max_frame = 64,
    .ping_period_ms = 5000,
    .read_table = read_flash,
    .write = serial_write,
    .on_value = on_value,
};

static void start_hardware(void) {
    DDRB |= _BV(DDB5);
    UCSR0A = _BV(U2X0); /* 115200 baud at 16 MHz: UBRR 16 with double speed */
    UBRR0 = 16;
    UCSR0B = _BV(RXEN0) | _BV(TXEN0) | _BV(RXCIE0);
    UCSR0C = _BV(UCSZ01) | _BV(UCSZ00);
    TCCR1B = _BV(CS11) | _BV(CS10); /* timer 1 counts at clock / 64 */
    sei();
}

int main(void) {
    static const uint16_t blink_ms[3] = {1000, 400, 100};
    uint32_t blinked = 0;
    uint32_t counted = 0;
    start_hardware();
    ksvd_init(&dev, &config);
    for (;;) {
        uint32_t now = millis();
        while (rx_tail != rx_head) {
            uint8_t byte = rx_ring[rx_tail];
            rx_tail = (uint8_t)((rx_tail + 1) % sizeof rx_ring);
            ksvd_feed(&dev, &byte, 1);
        }
        UCSR0B |= _BV(RXCIE0);
        if (blink && now - blinked >= blink_ms[speed >= 0 && speed < 3 ? speed : 0]) {
            blinked = now;
            set_led(!led);
            ksvd_changed(&dev, ID_LED);
        }
        if (now - counted >= 10000) {
            counted = now;
            uptime = (int32_t)(now / 1000);
            ksvd_changed(&dev, ID_UPTIME);
        }
        ksvd_poll(&dev, now);
    }
}
