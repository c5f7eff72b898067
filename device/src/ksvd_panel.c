/* The panel table: reading it from table memory, and the PanelDescription it becomes. */
#include "ksvd_internal.h"

#include <string.h>

const uint8_t ksvd_prefix[16] = {0x5A, 0xE3, 0xF1, 0x6B, 0x77, 0xE4, 0xE9, 0x63,
                                 0x00, 0x01, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00};

void ksvd_table_copy(const ksvd_device* dev, void* out, const void* from, size_t n) {
    uint8_t (*read)(const void*) = dev->cfg->read_table;
    size_t i;
    if (read == NULL) {
        memcpy(out, from, n);
        return;
    }
    for (i = 0; i < n; ++i) {
        ((uint8_t*)out)[i] = read((const uint8_t*)from + i);
    }
}

void ksvd_control_at(const ksvd_device* dev, uint8_t index, ksvd_control* out) {
    ksvd_table_copy(dev, out, &dev->cfg->controls[index], sizeof *out);
}

uint8_t ksvd_find(const ksvd_device* dev, uint32_t id) {
    uint8_t i;
    for (i = 0; i < dev->cfg->ncontrols; ++i) {
        uint32_t candidate;
        ksvd_table_copy(dev, &candidate, &dev->cfg->controls[i].id, sizeof candidate);
        if (candidate == id) {
            return i;
        }
    }
    return KSVD_NO_CONTROL;
}

uint8_t ksvd_tag(char tag) {
    switch (tag) {
    case 'T':
    case 'O':
        return KSVD_TAG_KNOWN | KSVD_TAG_REPORTS | KSVD_TAG_TAKES | KSVD_TAG_MAX;
    case 'X':
        return KSVD_TAG_KNOWN | KSVD_TAG_REPORTS | KSVD_TAG_MAX;
    case 'B':
    case 'G':
    case 'S':
        return KSVD_TAG_KNOWN | KSVD_TAG_REPORTS | KSVD_TAG_TAKES | KSVD_TAG_WIDTH1;
    case 'P':
        return KSVD_TAG_KNOWN | KSVD_TAG_REPORTS | KSVD_TAG_WIDTH1;
    case 'D':
        return KSVD_TAG_KNOWN | KSVD_TAG_REPORTS | KSVD_TAG_TAKES | KSVD_TAG_WIDTH8;
    case 'N':
    case 'L':
        return KSVD_TAG_KNOWN | KSVD_TAG_REPORTS | KSVD_TAG_TAKES | KSVD_TAG_WIDTH4;
    case 'M':
        return KSVD_TAG_KNOWN | KSVD_TAG_REPORTS;
    case 'F':
        return KSVD_TAG_KNOWN | KSVD_TAG_EMPTY;
    case 'I':
        return KSVD_TAG_KNOWN;
    default:
        return KSVD_TAG_EMPTY;
    }
}

uint16_t ksvd_value_length(const ksvd_control* control) {
    uint8_t width = (uint8_t)(ksvd_tag(control->tag) & 0x70);
    return width == 0                 ? control->size
           : width == KSVD_TAG_WIDTH1 ? 1
           : width == KSVD_TAG_WIDTH4 ? 4
           : width == KSVD_TAG_WIDTH8 ? 8
                                      : 0;
}

uint16_t ksvd_text_length(const ksvd_device* dev, const char* text, uint8_t in_table) {
    uint16_t n = 0;
    char c;
    if (text == NULL) {
        return 0;
    }
    for (;;) {
        if (in_table) {
            ksvd_table_copy(dev, &c, text + n, 1);
        } else {
            c = text[n];
        }
        if (c == 0) {
            return n;
        }
        ++n;
    }
}

/* Field i of the control's FieldBlock: its caption first and the 'm' the library announces
 * (T maxBytes, X maxChars, O capacity), then the author's fields, whose 'm' comes later and wins.
 */
static void field_at(const ksvd_device* dev, const ksvd_control* c, uint8_t i, ksvd_field* f) {
    if (c->caption != NULL && i-- == 0) {
        f->letter = 'Z';
        f->type = KSVD_F_TEXT;
        f->number = 0;
        f->text = c->caption;
    } else if ((ksvd_tag(c->tag) & KSVD_TAG_MAX) && i-- == 0) {
        f->letter = 'm';
        f->type = KSVD_F_U32;
        f->number = c->tag == 'X' && (c->flags & KSVD_WIDE) ? c->size / 2u : c->size;
    } else {
        ksvd_table_copy(dev, f, &c->fields[i], sizeof *f);
    }
}

static void put_field_block(ksvd_device* dev, const ksvd_control* c) {
    int wide = (c->flags & KSVD_WIDE) != 0;
    uint8_t k =
        (uint8_t)(c->nfields + (c->caption != NULL) + ((ksvd_tag(c->tag) & KSVD_TAG_MAX) != 0));
    uint8_t i;
    ksvd_field f;

    ksvd_put_u32(dev, k);
    for (i = 0; i < k; ++i) {
        field_at(dev, c, i, &f);
        ksvd_put(dev, (const uint8_t*)&f.letter, 1);
    }
    for (i = 0; i < k; ++i) {
        uint16_t n = 4;
        field_at(dev, c, i, &f);
        if (f.type == KSVD_F_TEXT) {
            n = f.number != 0 ? (uint16_t)f.number : ksvd_text_length(dev, f.text, 1);
            ksvd_put_u32(dev, (uint32_t)n * (wide ? 2u : 1u));
            ksvd_put_text(dev, f.text, n, wide, 1);
            continue;
        }
        if (f.type == KSVD_F_BYTE) {
            n = 1;
        }
        ksvd_put_u32(dev, n);
        ksvd_put_u32_width(dev, f.number, (uint8_t)n);
    }
}

/* The record after its length: tag, flags, id, value and (for a known tag) its fields. */
static void put_record_body(ksvd_device* dev, const ksvd_control* c) {
    int known = (ksvd_tag(c->tag) & KSVD_TAG_KNOWN) != 0;
    uint16_t v = c->tag == 'I' ? c->size : ksvd_value_length(c);
    uint8_t tag[2];
    tag[0] = (uint8_t)c->tag;
    tag[1] = 0;
    ksvd_put(dev, tag, 2);
    ksvd_put_u32(dev, c->flags);
    ksvd_put_u32(dev, c->id);
    ksvd_put_u32(dev, v);
    if (c->tag == 'I') {
        ksvd_put_table(dev, c->value, v);
    } else {
        ksvd_put_value(dev, c, v);
    }
    if (known) {
        put_field_block(dev, c);
    }
}

void ksvd_put_description(ksvd_device* dev) {
    const ksvd_config* cfg = dev->cfg;
    ksvd_control c;
    uint8_t i;
    ksvd_put_prefix(dev, KSVD_MSG_PANEL, cfg->request_ack ? KSVD_FLAG_ACK : 0);
    ksvd_put_u32(dev, cfg->ncontrols);
    for (i = 0; i < cfg->ncontrols; ++i) {
        ksvd_control_at(dev, i, &c);
        dev->measuring = 1; /* the record's length comes first: measure, then write */
        dev->measured = 0;
        put_record_body(dev, &c);
        dev->measuring = 0;
        ksvd_put_u32(dev, dev->measured);
        put_record_body(dev, &c);
    }
}
