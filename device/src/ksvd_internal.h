/* Shared by the library's sources; not part of the API. */
#ifndef KSVD_INTERNAL_H
#define KSVD_INTERNAL_H

#include "ksvd.h"

/* Message kinds. */
enum {
    KSVD_MSG_HELLO = 1,
    KSVD_MSG_HELLO_REPLY = 2,
    KSVD_MSG_GOODBYE_IN = 4,
    KSVD_MSG_GOODBYE_OUT = 5,
    KSVD_MSG_PANEL = 6,
    KSVD_MSG_VALUES_IN = 7,
    KSVD_MSG_DEVICE_PING = 8,
    KSVD_MSG_VALUES_OUT = 9,
    KSVD_MSG_PING = 10,
    KSVD_MSG_PING_REPLY_OUT = 11,
    KSVD_MSG_PING_REPLY_IN = 12,
    KSVD_MSG_ACK = 14,
    KSVD_MSG_RESET = 15,
    KSVD_MSG_STYLE = 16,
    KSVD_MSG_FILE = 17,
    KSVD_MSG_LAYOUT_REQUEST = 18,
    KSVD_MSG_LAYOUT = 19,
    KSVD_MSG_ROWS = 21
};

#define KSVD_FLAG_ACK 0x0008
#define KSVD_PREFIX_SIZE 20
#define KSVD_PASSWORD_FIELD 34

/* Frames due at the next poll (ksvd_device.pending). */
#define KSVD_DUE_HELLO 0x01
#define KSVD_DUE_PING_REPLY 0x02
#define KSVD_DUE_LAYOUT 0x04

#define KSVD_NO_CONTROL 0xFF

/* The marker, then the four constant header words every frame carries. */
#define KSVD_MARKER_SIZE 8
extern const uint8_t ksvd_prefix[16];

/* A control of the table, copied out of table memory. */
void ksvd_control_at(const ksvd_device* dev, uint8_t index, ksvd_control* out);
/* Index of the control with `id`, or KSVD_NO_CONTROL. */
uint8_t ksvd_find(const ksvd_device* dev, uint32_t id);
/* What a tag letter stands for (ksvd_tag). */
#define KSVD_TAG_KNOWN 0x01   /* a record kind the handheld knows */
#define KSVD_TAG_REPORTS 0x02 /* the device may report its value */
#define KSVD_TAG_TAKES 0x04   /* a value from the handheld lands in its buffer */
#define KSVD_TAG_MAX 0x08     /* the library announces field 'm' from the buffer's size */
#define KSVD_TAG_WIDTH1 0x10  /* a value of fixed width: 1, 4 or 8 bytes; none: the buffer's */
#define KSVD_TAG_WIDTH4 0x20
#define KSVD_TAG_WIDTH8 0x30
#define KSVD_TAG_EMPTY 0x40 /* F and unknown tags: no value at all */
uint8_t ksvd_tag(char tag);
/* Bytes of the value the control reports: the fixed width of its kind, or its buffer size. */
uint16_t ksvd_value_length(const ksvd_control* control);

/* Copies n bytes of table memory (through read_table). */
void ksvd_table_copy(const ksvd_device* dev, void* out, const void* from, size_t n);
/* Length of a NUL-terminated string in table memory (in_table) or RAM. */
uint16_t ksvd_text_length(const ksvd_device* dev, const char* text, uint8_t in_table);

/* Output, all through the write hook. */
void ksvd_put(ksvd_device* dev, const uint8_t* bytes, uint16_t n);
void ksvd_put_u32(ksvd_device* dev, uint32_t value);
/* The low `width` bytes of `value`, little-endian. */
void ksvd_put_u32_width(ksvd_device* dev, uint32_t value, uint8_t width);
void ksvd_put_prefix(ksvd_device* dev, uint16_t kind, uint16_t flags);
void ksvd_put_table(ksvd_device* dev, const void* from, uint16_t n);
/* n bytes of 8-bit text as they are, or widened to UTF-16LE. */
void ksvd_put_text(ksvd_device* dev, const char* text, uint16_t n, int wide, uint8_t in_table);
/* The control's value, `n` bytes of its buffer, zeros past the buffer's end. */
void ksvd_put_value(ksvd_device* dev, const ksvd_control* control, uint16_t n);
/* Ends a session (when one is open) and tells the author why. */
void ksvd_end_session(ksvd_device* dev, uint8_t why);
/* The whole PanelDescription frame. */
void ksvd_put_description(ksvd_device* dev);

#endif /* KSVD_INTERNAL_H */
