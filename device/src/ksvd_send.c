/* Sender: every frame the device writes, and the poll that decides what is due. */
#include "ksvd_internal.h"

#include <string.h>

void ksvd_put(ksvd_device* dev, const uint8_t* bytes, uint16_t n) {
    if (dev->measuring) {
        dev->measured += n;
    } else if (n > 0) {
        dev->cfg->write(dev->cfg->ctx, bytes, n);
    }
}

void ksvd_put_u32_width(ksvd_device* dev, uint32_t value, uint8_t width) {
    uint8_t b[4];
    uint8_t i;
    for (i = 0; i < 4; ++i) {
        b[i] = (uint8_t)value;
        value >>= 8;
    }
    ksvd_put(dev, b, width);
}

void ksvd_put_u32(ksvd_device* dev, uint32_t value) {
    ksvd_put_u32_width(dev, value, 4);
}

void ksvd_put_prefix(ksvd_device* dev, uint16_t kind, uint16_t flags) {
    ksvd_put(dev, ksvd_prefix, sizeof ksvd_prefix);
    ksvd_put_u32(dev, kind | (uint32_t)flags << 16);
}

void ksvd_put_table(ksvd_device* dev, const void* from, uint16_t n) {
    const uint8_t* at = (const uint8_t*)from;
    while (n-- > 0) {
        uint8_t byte;
        ksvd_table_copy(dev, &byte, at++, 1);
        ksvd_put(dev, &byte, 1);
    }
}

static const uint8_t zero = 0;

void ksvd_put_text(ksvd_device* dev, const char* text, uint16_t n, int wide, uint8_t in_table) {
    while (n-- > 0) {
        if (in_table) {
            ksvd_put_table(dev, text++, 1);
        } else {
            ksvd_put(dev, (const uint8_t*)text++, 1);
        }
        if (wide) { /* 8-bit text widened: Latin-1 into UTF-16LE */
            ksvd_put(dev, &zero, 1);
        }
    }
}

void ksvd_put_value(ksvd_device* dev, const ksvd_control* control, uint16_t n) {
    uint16_t own = control->value == NULL ? 0 : n < control->size ? n : control->size;
    ksvd_put(dev, (const uint8_t*)control->value, own);
    while (own++ < n) { /* a fixed-width value in a shorter buffer: only its first bytes */
        ksvd_put(dev, &zero, 1);
    }
}

static uint16_t ack_flag(const ksvd_device* dev) {
    return dev->cfg->request_ack ? KSVD_FLAG_ACK : 0;
}

static void put_hello_reply(ksvd_device* dev) {
    const ksvd_config* cfg = dev->cfg;
    /* the name goes narrow: the wide-name bit stays clear */
    uint16_t n = ksvd_text_length(dev, cfg->name, 1);
    ksvd_put_prefix(dev, KSVD_MSG_HELLO_REPLY, (uint16_t)(cfg->hello_flags & ~1u));
    ksvd_put_u32(dev, n);
    ksvd_put_text(dev, cfg->name, n, 0, 1);
    ksvd_put_u32(dev, 0);
}

static void put_layout(ksvd_device* dev) {
    const ksvd_config* cfg = dev->cfg;
    uint16_t count = cfg->layout != NULL ? cfg->nlayout : 0;
    ksvd_put_prefix(dev, KSVD_MSG_LAYOUT, 0);
    ksvd_put_u32(dev, count);
    ksvd_put_table(dev, cfg->layout, (uint16_t)(count * sizeof(ksvd_layout)));
}

/* One Values frame: the changed controls in table order while they fit under max_frame (the
 * first always goes, alone if it must); the rest stay marked for the next poll. With `send`
 * clear only counts them. */
static uint8_t changed_values(ksvd_device* dev, uint8_t send) {
    const ksvd_config* cfg = dev->cfg;
    uint16_t total = KSVD_PREFIX_SIZE + 4;
    uint8_t count = 0;
    uint8_t i;
    ksvd_control c;

    for (i = 0; i < cfg->ncontrols; ++i) {
        uint8_t* bits = &dev->changed[i / 8];
        uint8_t mask = (uint8_t)(1u << (i % 8));
        uint16_t length;
        if (!(*bits & mask)) {
            continue;
        }
        ksvd_control_at(dev, i, &c);
        length = ksvd_value_length(&c);
        total += 8 + length;
        if (count > 0 && cfg->max_frame != 0 && total > cfg->max_frame) {
            break;
        }
        count++;
        if (send) {
            *bits &= (uint8_t)~mask;
            ksvd_put_u32(dev, c.id);
            ksvd_put_u32(dev, length);
            ksvd_put_value(dev, &c, length);
        }
    }
    return count;
}

static void put_changed_values(ksvd_device* dev) {
    uint8_t count = changed_values(dev, 0);
    if (count > 0) {
        ksvd_put_prefix(dev, KSVD_MSG_VALUES_OUT, ack_flag(dev));
        ksvd_put_u32(dev, count);
        changed_values(dev, 1);
    }
}

void ksvd_end_session(ksvd_device* dev, uint8_t why) {
    const ksvd_config* cfg = dev->cfg;
    uint8_t was = dev->connected;
    dev->connected = 0;
    dev->pending = 0;
    dev->file_step = NULL;
    if (was && cfg->on_disconnect != NULL) {
        cfg->on_disconnect(cfg->ctx, why);
    }
}

static void stream_file(ksvd_device* dev) {
    uint8_t chunk[KSVD_FILE_CHUNK];
    uint32_t left = dev->file_size - dev->file_sent;
    uint16_t piece = left < KSVD_FILE_CHUNK ? (uint16_t)left : KSVD_FILE_CHUNK;
    uint16_t got = dev->file_read(dev->file_ctx, dev->file_sent, chunk, piece);
    if (got < piece) { /* a file shorter than announced: the frame still ends where it said */
        memset(chunk + got, 0, piece - got);
    }
    ksvd_put(dev, chunk, piece);
    dev->file_sent += piece;
    if (dev->file_sent >= dev->file_size) {
        dev->file_step = NULL;
    }
}

static void check_ping(ksvd_device* dev, uint32_t now_ms) {
    uint32_t period = dev->cfg->ping_period_ms;
    if (period == 0 || (uint32_t)(now_ms - dev->ping_at) < period) {
        return;
    }
    if (dev->ping_out) {
        ksvd_end_session(dev, KSVD_END_NO_PING);
        return;
    }
    ksvd_put_prefix(dev, KSVD_MSG_DEVICE_PING, 0);
    dev->ping_out = 1;
    dev->ping_at = now_ms;
}

void ksvd_poll(ksvd_device* dev, uint32_t now_ms) {
    uint8_t due;
    if (dev == NULL || dev->cfg == NULL) {
        return;
    }
    if (dev->file_step != NULL) { /* nothing may interleave with the file's frame */
        dev->file_step(dev);
        return;
    }
    due = dev->pending;
    dev->pending = 0;
    if (due & KSVD_DUE_HELLO) {
        put_hello_reply(dev);
        ksvd_put_description(dev); /* carries every current value: no change is still due */
        memset(dev->changed, 0, sizeof dev->changed);
        dev->ping_out = 0;
        dev->ping_at = now_ms;
    }
    if (due & KSVD_DUE_PING_REPLY) {
        ksvd_put_prefix(dev, KSVD_MSG_PING_REPLY_OUT, 0);
    }
    if (due & KSVD_DUE_LAYOUT) {
        put_layout(dev);
    }
    if (!dev->connected) {
        return;
    }
    check_ping(dev, now_ms);
    if (dev->connected) {
        put_changed_values(dev);
    }
}

ksvd_result ksvd_changed(ksvd_device* dev, uint32_t id) {
    uint8_t index;
    char tag;
    if (dev == NULL || dev->cfg == NULL) {
        return KSVD_EARG;
    }
    index = ksvd_find(dev, id);
    if (index == KSVD_NO_CONTROL) {
        return KSVD_EUNKNOWN;
    }
    ksvd_table_copy(dev, &tag, &dev->cfg->controls[index].tag, 1);
    if (!(ksvd_tag(tag) & KSVD_TAG_REPORTS)) { /* F, I: the handheld refuses their values */
        return KSVD_EUNKNOWN;
    }
    dev->changed[index / 8] |= (uint8_t)(1u << (index % 8));
    return KSVD_OK;
}

/* The checks every immediate send starts with. */
static ksvd_result can_send(const ksvd_device* dev) {
    if (dev == NULL || dev->cfg == NULL) {
        return KSVD_EARG;
    }
    if (!dev->connected) {
        return KSVD_ENOTCONN;
    }
    return dev->file_step != NULL ? KSVD_EBUSY : KSVD_OK;
}

ksvd_result ksvd_send_style(ksvd_device* dev, uint32_t id, uint32_t style, uint32_t colour) {
    ksvd_result ok = can_send(dev);
    int with_colour = (style & 0x40u) != 0;
    if (ok != KSVD_OK) {
        return ok;
    }
    ksvd_put_prefix(dev, KSVD_MSG_STYLE, ack_flag(dev));
    ksvd_put_u32(dev, 1);
    ksvd_put_u32(dev, id);
    ksvd_put_u32(dev, with_colour ? 8 : 4);
    ksvd_put_u32(dev, style);
    if (with_colour) {
        ksvd_put_u32(dev, colour);
    }
    return KSVD_OK;
}

ksvd_result ksvd_send_row(ksvd_device* dev, uint32_t id, const uint8_t* row, uint16_t len) {
    ksvd_result ok = can_send(dev);
    if (ok != KSVD_OK) {
        return ok;
    }
    if (row == NULL || len < 8) { /* at least the cursor word and the position */
        return KSVD_EARG;
    }
    ksvd_put_prefix(dev, KSVD_MSG_ROWS, ack_flag(dev));
    ksvd_put_u32(dev, 1);
    ksvd_put_u32(dev, id);
    ksvd_put_u32(dev, len);
    ksvd_put(dev, row, len);
    return KSVD_OK;
}

ksvd_result ksvd_send_file(ksvd_device* dev, uint32_t id, const char* path, uint32_t size,
                           ksvd_read_fn read, void* read_ctx) {
    ksvd_result ok = can_send(dev);
    uint8_t index;
    ksvd_control c;
    int wide;
    uint16_t n;
    static const uint8_t nul[2] = {0, 0};
    if (ok != KSVD_OK) {
        return ok;
    }
    if (path == NULL || read == NULL) {
        return KSVD_EARG;
    }
    index = ksvd_find(dev, id);
    if (index == KSVD_NO_CONTROL) {
        return KSVD_EUNKNOWN;
    }
    ksvd_control_at(dev, index, &c);
    wide = (c.flags & KSVD_WIDE) != 0;
    ksvd_put_prefix(dev, KSVD_MSG_FILE, ack_flag(dev));
    ksvd_put_u32(dev, id);
    ksvd_put_u32(dev, 1);
    n = ksvd_text_length(dev, path, 0);
    ksvd_put_u32(dev, (uint32_t)(n + 1) * (wide ? 2u : 1u));
    ksvd_put_text(dev, path, n, wide, 0);
    ksvd_put(dev, nul, wide ? 2 : 1);
    ksvd_put_u32(dev, size);
    if (size > 0) {
        dev->file_step = stream_file; /* linked only by firmware that sends files */
        dev->file_read = read;
        dev->file_ctx = read_ctx;
        dev->file_size = size;
        dev->file_sent = 0;
    }
    return KSVD_OK;
}

ksvd_result ksvd_request_reset(ksvd_device* dev) {
    ksvd_result ok = can_send(dev);
    if (ok == KSVD_OK) {
        ksvd_put_prefix(dev, KSVD_MSG_RESET, 0);
    }
    return ok;
}

ksvd_result ksvd_goodbye(ksvd_device* dev) {
    ksvd_result ok = can_send(dev);
    if (ok != KSVD_OK) {
        return ok;
    }
    ksvd_put_prefix(dev, KSVD_MSG_GOODBYE_OUT, 0);
    ksvd_end_session(dev, KSVD_END_LOCAL);
    return KSVD_OK;
}
