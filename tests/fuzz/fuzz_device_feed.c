/* Feeds an arbitrary byte stream to the device library in the splits the input's first byte
 * chooses, polling between pieces, against a panel of every kind. The sanitizers watch every
 * buffer; after each piece the 8-bit texts must still be terminated within their buffers. */
#include "ksvd.h"

#include <stdlib.h>
#include <string.h>

static uint8_t latch, button, section, password;
static char text[6], note[1], message[4];
static int32_t number, list;
static uint8_t date[8], blob[3], chart[12];
static uint8_t wide_text[4];
static uint8_t password_buf[KSVD_PASSWORD_SIZE];
static const uint8_t image[2] = {'G', 'I'};
static const ksvd_field list_fields[] = {KSVD_U32('n', 2), KSVD_TEXTS('I', "a\0b\0")};
static const ksvd_layout layout[] = {{1, 2, 3}};

static const ksvd_control panel[] = {
    {1, 0, 'G', 0, "G", NULL, &latch, 1},
    {2, 0, 'T', 0, "T", NULL, text, sizeof text},
    {3, 0, 'N', 0, "N", NULL, &number, sizeof number},
    {4, 0, 'B', 0, "B", NULL, &button, 1},
    {5, 0, 'L', 2, "L", list_fields, &list, sizeof list},
    {6, 0, 'D', 0, "D", NULL, date, sizeof date},
    {7, 0, 'S', 0, "S", NULL, &section, 1},
    {8, 0, 'P', 0, "P", NULL, &password, 1},
    {9, 0, 'X', 0, NULL, NULL, message, sizeof message},
    {10, 0, 'O', 0, "O", NULL, blob, sizeof blob},
    {11, 0, 'M', 0, "M", NULL, chart, sizeof chart},
    {12, KSVD_EDITABLE, 'I', 0, "I", NULL, (void*)image, sizeof image},
    {13, 0, 'F', 0, "F", NULL, NULL, 0},
    {14, 0, 'T', 0, "t", NULL, note, sizeof note},
    {15, KSVD_WIDE, 'T', 0, "W", NULL, wide_text, sizeof wide_text},
    {16, 0, 'Q', 0, NULL, NULL, NULL, 0},
};

static size_t written;

static void count_output(void* ctx, const uint8_t* bytes, uint16_t n) {
    (void)ctx;
    written += n;
    if (n > 0 && bytes[n - 1] == 0xFF) { /* touch the bytes so a bad pointer shows */
        written++;
    }
}

static void on_value(void* ctx, uint32_t id, const uint8_t* data, uint16_t len) {
    uint16_t i;
    (void)ctx;
    (void)id;
    for (i = 0; i < len; ++i) {
        written += data[i];
    }
}

static void on_password(void* ctx, uint32_t id, const uint8_t* first, const uint8_t* second) {
    (void)ctx;
    (void)id;
    written += strlen((const char*)first) + strlen((const char*)second);
}

static void check_terminated(const char* buffer, size_t size) {
    if (memchr(buffer, 0, size) == NULL) {
        abort();
    }
}

int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const ksvd_config cfg = {"Fuzz",       panel,    sizeof panel / sizeof panel[0],
                                    layout,       1,        0,
                                    48,           10,       1,
                                    password_buf, NULL,     count_output,
                                    NULL,         on_value, NULL,
                                    NULL,         NULL,     on_password,
                                    NULL};
    ksvd_device dev;
    size_t piece;
    size_t at = 1;
    uint32_t now = 0;
    if (size == 0) {
        return 0;
    }
    piece = (size_t)data[0] % 17 + 1;
    ksvd_init(&dev, &cfg);
    while (at < size) {
        size_t n = size - at < piece ? size - at : piece;
        ksvd_feed(&dev, data + at, n);
        ksvd_changed(&dev, (uint32_t)(data[at] % 18));
        ksvd_poll(&dev, now += 7);
        check_terminated(text, sizeof text);
        check_terminated(note, sizeof note);
        at += n;
    }
    return 0;
}
