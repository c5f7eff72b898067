/* Receiver: the handheld's frames, parsed byte by byte in any split. */
#include "ksvd_internal.h"

#include <string.h>

enum {
    ST_HUNT = 0, /* between frames: only the marker matters */
    ST_HEADER,   /* the 12 header bytes */
    ST_COUNT,    /* Values: entry count */
    ST_ID,       /* Values: control id */
    ST_LENGTH,   /* Values: value length */
    ST_VALUE,    /* Values: value bytes */
    ST_ARGUMENT  /* LayoutRequest: its u32 */
};

#define STAGE_SIZE 8

static void expect(ksvd_device* dev, uint8_t state, uint16_t bytes) {
    dev->state = state;
    dev->left = bytes;
}

/* Where the value of the entry goes, and how much of it fits. X answers and F and I presses
 * are reported from the stage only; a chart takes no values. */
static void aim_value(ksvd_device* dev) {
    ksvd_control c;
    dev->target = NULL;
    dev->room = 0;
    dev->tag = 0;
    if (dev->index == KSVD_NO_CONTROL) {
        return;
    }
    ksvd_control_at(dev, dev->index, &c);
    dev->tag = (uint8_t)c.tag;
    if (c.tag == 'P') {
        dev->target = dev->cfg->password_buf;
        dev->room = KSVD_PASSWORD_SIZE;
    } else if (ksvd_tag(c.tag) & KSVD_TAG_TAKES) {
        uint16_t limit = ksvd_value_length(&c);
        dev->target = (uint8_t*)c.value;
        dev->room = limit < c.size ? limit : c.size;
        if (c.tag == 'T' && !(c.flags & KSVD_WIDE) && dev->room > 0) {
            /* 8-bit text stays terminated even when its frame is cut off midway */
            dev->target[--dev->room] = 0;
            dev->tag = 't';
        }
    }
}

static void store_byte(ksvd_device* dev, uint8_t byte) {
    if (dev->target != NULL && dev->got < dev->room) {
        dev->target[dev->got] = byte;
    }
    dev->got++;
}

/* Value bytes are held back STAGE_SIZE deep: a value that short lands whole or not at all when
 * a frame is cut off, and a message box answer or a tap is reported from here. */
static void take_value_byte(ksvd_device* dev, uint8_t byte) {
    uint8_t at = (uint8_t)((dev->got + dev->staged) % STAGE_SIZE);
    if (dev->staged == STAGE_SIZE) {
        store_byte(dev, dev->stage[at]);
    } else {
        dev->staged++;
    }
    dev->stage[at] = byte;
}

static void report_password(ksvd_device* dev) {
    const ksvd_config* cfg = dev->cfg;
    uint8_t* buf = dev->target;
    if (cfg->on_password == NULL || buf == NULL) {
        return;
    }
    buf[KSVD_PASSWORD_FIELD - 1] = 0; /* each field ends in NUL, whatever came */
    buf[KSVD_PASSWORD_SIZE - 1] = 0;
    cfg->on_password(cfg->ctx, dev->id, buf, buf + KSVD_PASSWORD_FIELD);
}

static void finish_entry(ksvd_device* dev) {
    const ksvd_config* cfg = dev->cfg;
    uint16_t length = (uint16_t)(dev->got + dev->staged);
    uint16_t room = length < dev->room ? length : dev->room;

    if (dev->index == KSVD_NO_CONTROL) {
        return;
    }
    while (dev->staged > 0) {
        store_byte(dev, dev->stage[dev->got % STAGE_SIZE]);
        dev->staged--;
    }
    if (dev->tag == 'P') {
        report_password(dev);
        return;
    }
    if (dev->tag == 't') {
        dev->target[room] = 0; /* room is at most the size less one */
    }
    if (dev->tag == 'M' || cfg->on_value == NULL) {
        return;
    }
    if (dev->target != NULL) {
        cfg->on_value(cfg->ctx, dev->id, dev->target, room);
    } else if (length <= STAGE_SIZE) { /* the stage holds the whole value */
        cfg->on_value(cfg->ctx, dev->id, dev->stage, length);
    }
}

static void next_entry(ksvd_device* dev) {
    if (--dev->count == 0) {
        expect(dev, ST_HUNT, 0);
    } else {
        expect(dev, ST_ID, 4);
    }
}

static void start_value(ksvd_device* dev, uint32_t length) {
    if (length > 0xFFFF) { /* no buffer of ours is that long: a lie, hunt for the next frame */
        expect(dev, ST_HUNT, 0);
        return;
    }
    dev->got = 0;
    dev->staged = 0;
    dev->index = ksvd_find(dev, dev->id);
    aim_value(dev);
    expect(dev, ST_VALUE, (uint16_t)length);
    if (length == 0) {
        finish_entry(dev);
        next_entry(dev);
    }
}

static void dispatch(ksvd_device* dev, uint16_t kind) {
    const ksvd_config* cfg = dev->cfg;
    expect(dev, ST_HUNT, 0);
    switch (kind) {
    case KSVD_MSG_HELLO: /* a reopened port: a fresh session with the whole panel */
        dev->connected = 1;
        dev->pending |= KSVD_DUE_HELLO;
        dev->file_step = NULL;
        if (cfg->on_connect != NULL) {
            cfg->on_connect(cfg->ctx);
        }
        break;
    case KSVD_MSG_GOODBYE_IN:
        ksvd_end_session(dev, KSVD_END_GOODBYE);
        break;
    case KSVD_MSG_PING:
        dev->pending |= KSVD_DUE_PING_REPLY;
        break;
    case KSVD_MSG_PING_REPLY_IN:
        dev->ping_out = 0;
        break;
    case KSVD_MSG_ACK:
        if (cfg->on_ack != NULL) {
            cfg->on_ack(cfg->ctx);
        }
        break;
    case KSVD_MSG_VALUES_IN:
        expect(dev, ST_COUNT, 4);
        break;
    case KSVD_MSG_LAYOUT_REQUEST:
        expect(dev, ST_ARGUMENT, 4);
        break;
    default: /* a kind the handheld never sends: its extent is unknown, hunt for the next */
        break;
    }
}

static void word_complete(ksvd_device* dev) {
    const ksvd_config* cfg = dev->cfg;
    uint32_t value = dev->word;
    switch (dev->state) {
    case ST_HEADER: /* its last four bytes: the kind, then the flags, which are not looked at */
        dispatch(dev, (uint16_t)value);
        break;
    case ST_COUNT: /* a lying count waits for the next frame's marker */
        dev->count = (uint16_t)value;
        if (dev->count == 0) {
            expect(dev, ST_HUNT, 0);
        } else {
            expect(dev, ST_ID, 4);
        }
        break;
    case ST_ID:
        dev->id = value;
        expect(dev, ST_LENGTH, 4);
        break;
    case ST_LENGTH:
        start_value(dev, value);
        break;
    case ST_ARGUMENT:
        expect(dev, ST_HUNT, 0);
        dev->pending |= KSVD_DUE_LAYOUT;
        if (cfg->on_layout_request != NULL) {
            cfg->on_layout_request(cfg->ctx, value);
        }
        break;
    default:
        break;
    }
}

static void parse_byte(ksvd_device* dev, uint8_t byte) {
    switch (dev->state) {
    case ST_HUNT:
        return;
    case ST_VALUE:
        take_value_byte(dev, byte);
        if (--dev->left == 0) {
            finish_entry(dev);
            next_entry(dev);
        }
        return;
    default: /* little-endian words, shifted in from the top */
        dev->word = (dev->word >> 8) | (uint32_t)byte << 24;
        if (--dev->left == 0) {
            word_complete(dev);
        }
        return;
    }
}

void ksvd_feed(ksvd_device* dev, const uint8_t* bytes, size_t n) {
    size_t i;
    uint8_t k;
    if (dev == NULL || dev->cfg == NULL || bytes == NULL) {
        return;
    }
    for (i = 0; i < n; ++i) {
        uint8_t byte = bytes[i];
        uint8_t held = dev->marker;
        /* Bytes that may begin a marker are held back until it completes or breaks: a marker
         * starts a frame wherever it comes, and a frame cut short by one is dropped. */
        if (byte == ksvd_prefix[held]) {
            if (++dev->marker == KSVD_MARKER_SIZE) {
                dev->marker = 0;
                dev->staged = 0;
                expect(dev, ST_HEADER, 12);
            }
            continue;
        }
        dev->marker = 0;
        for (k = 0; k < held; ++k) { /* they were data after all */
            parse_byte(dev, ksvd_prefix[k]);
        }
        /* the marker's bytes are all different: only this byte can start a new one */
        if (byte == ksvd_prefix[0]) {
            dev->marker = 1;
        } else {
            parse_byte(dev, byte);
        }
    }
}

ksvd_result ksvd_init(ksvd_device* dev, const ksvd_config* cfg) {
    if (dev == NULL || cfg == NULL || cfg->write == NULL || cfg->ncontrols > KSVD_MAX_CONTROLS) {
        return KSVD_EARG;
    }
    memset(dev, 0, sizeof *dev);
    dev->cfg = cfg;
    dev->index = KSVD_NO_CONTROL;
    return KSVD_OK;
}

int ksvd_connected(const ksvd_device* dev) {
    return dev != NULL && dev->connected;
}
