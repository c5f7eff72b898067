/* Host parser speed of the device library: a stream of mixed frames (values of every kind the
 * handheld sends, pings, acknowledgements, layout requests, frames for unknown ids, garbage)
 * fed in pieces of 64 bytes, again and again; prints MB/s. */
#define _POSIX_C_SOURCE 199309L
#include "ksvd.h"

#include <stdio.h>
#include <string.h>
#include <time.h>

static uint8_t latch, button;
static char text[32];
static int32_t number, list;
static uint8_t date[8], blob[64], password_buf[68];
static const ksvd_control panel[] = {
    {1, 0, 'G', 0, "G", NULL, &latch, 1},         {2, 0, 'T', 0, "T", NULL, text, sizeof text},
    {3, 0, 'N', 0, "N", NULL, &number, 4},        {4, 0, 'B', 0, "B", NULL, &button, 1},
    {5, 0, 'L', 0, "L", NULL, &list, 4},          {6, 0, 'D', 0, "D", NULL, date, 8},
    {7, 0, 'O', 0, "O", NULL, blob, sizeof blob}, {8, 0, 'P', 0, "P", NULL, NULL, 0},
};
static size_t values_seen;

static void discard(void* ctx, const uint8_t* bytes, uint16_t n) {
    (void)ctx;
    (void)bytes;
    (void)n;
}

static void on_value(void* ctx, uint32_t id, const uint8_t* data, uint16_t len) {
    (void)ctx;
    (void)data;
    values_seen += id + len;
}

static size_t put(uint8_t* at, const void* bytes, size_t n) {
    memcpy(at, bytes, n);
    return n;
}

static size_t put_u32(uint8_t* at, uint32_t v) {
    uint8_t b[4] = {(uint8_t)v, (uint8_t)(v >> 8), (uint8_t)(v >> 16), (uint8_t)(v >> 24)};
    return put(at, b, 4);
}

static size_t frame(uint8_t* at, uint16_t kind) {
    static const uint8_t prefix[16] = {0x5A, 0xE3, 0xF1, 0x6B, 0x77, 0xE4, 0xE9, 0x63,
                                       0x00, 0x01, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00};
    uint8_t tail[4] = {(uint8_t)kind, (uint8_t)(kind >> 8), 0, 0};
    return put(at, prefix, 16) + put(at + 16, tail, 4);
}

static size_t entry(uint8_t* at, uint32_t id, uint32_t length, uint8_t fill) {
    size_t n = put_u32(at, id) + put_u32(at + 4, length);
    memset(at + n, fill, length);
    return n + length;
}

static size_t build_stream(uint8_t* s) {
    size_t n = frame(s, 1);
    uint32_t i;
    for (i = 0; i < 40; ++i) {
        n += frame(s + n, 7);
        n += put_u32(s + n, 7);
        n += entry(s + n, 1, 1, 1);
        n += entry(s + n, 2, 32, 'a');
        n += entry(s + n, 3, 4, 7);
        n += entry(s + n, 5, 4, 0);
        n += entry(s + n, 6, 8, 3);
        n += entry(s + n, 7, 64, 9);
        n += entry(s + n, 99, 16, 0); /* unknown id */
        n += frame(s + n, 10);
        n += frame(s + n, 12);
        n += frame(s + n, 14);
        n += frame(s + n, 18);
        n += put_u32(s + n, 256);
        n += frame(s + n, 7);
        n += put_u32(s + n, 1);
        n += entry(s + n, 8, 68, 'p');
        n += put(s + n, "\x01garbage\x5A\xE3", 10);
    }
    return n;
}

int main(void) {
    static uint8_t stream[64 * 1024];
    const size_t length = build_stream(stream);
    const ksvd_config cfg = {"Bench", panel,        8,    NULL,    0,    0,        0,    0,
                             0,       password_buf, NULL, discard, NULL, on_value, NULL, NULL,
                             NULL,    NULL,         NULL};
    ksvd_device dev;
    struct timespec start, end;
    size_t fed = 0;
    double seconds = 0;
    ksvd_init(&dev, &cfg);
    clock_gettime(CLOCK_MONOTONIC, &start);
    do {
        size_t at;
        for (at = 0; at < length; at += 64) {
            ksvd_feed(&dev, stream + at, length - at < 64 ? length - at : 64);
            ksvd_poll(&dev, 0);
        }
        fed += length;
        clock_gettime(CLOCK_MONOTONIC, &end);
        seconds = (double)(end.tv_sec - start.tv_sec) + (double)(end.tv_nsec - start.tv_nsec) / 1e9;
    } while (seconds < 1.0);
    printf("host parser: %.1f MB/s (%zu bytes of mixed frames, %zu values)\n",
           (double)fed / seconds / 1e6, fed, values_seen);
    return values_seen == 0;
}
