/* Kestrovane device library: the device side of the Kestrovane panel protocol.
 *
 * Freestanding C99: no heap, no stdio, no floating point, no call that blocks or waits for a
 * connection, no timer of its own. Bytes in (ksvd_feed), frames out through the write hook
 * (ksvd_poll and the ksvd_send_* calls), callbacks for what the handheld did.
 *
 * Threads and interrupts: every call takes the device and none is re-entrant. Call them all
 * from one context (the main loop). An interrupt handler that receives bytes should queue them
 * and let the loop pass them to ksvd_feed. Callbacks run inside ksvd_feed or ksvd_poll and may
 * call ksvd_changed, ksvd_send_* and ksvd_goodbye, but not ksvd_feed or ksvd_poll.
 *
 * Memory: the panel table, its strings and the layout table are read through the config's
 * read_table hook (NULL: plain memory; on AVR a hook around pgm_read_byte keeps them in flash).
 * Each control's value lives in a buffer the firmware author owns; the library writes a
 * received value into it, never past `size`, and reads it when it reports the value. Values are
 * held in wire layout: little-endian numbers, as the CPUs this library targets hold them.
 */
#ifndef KSVD_H
#define KSVD_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Compile-time limits. */
#ifndef KSVD_MAX_CONTROLS
#define KSVD_MAX_CONTROLS 32 /* controls in a panel: one change bit each */
#endif
#define KSVD_PASSWORD_SIZE                                                                         \
    68 /* two fields of 34 bytes: the password (or the current one), the new */
#ifndef KSVD_FILE_CHUNK
#define KSVD_FILE_CHUNK 32 /* file bytes read and written per ksvd_poll */
#endif

/* Result codes. */
typedef enum ksvd_result {
    KSVD_OK = 0,
    KSVD_EARG = -1,     /* a null device or pointer, or a bad length */
    KSVD_EUNKNOWN = -2, /* no control has this id, or its kind does not take this call */
    KSVD_ENOTCONN = -3, /* no handheld is connected: nothing was sent */
    KSVD_EBUSY = -4     /* a file transfer is streaming: try again after it */
} ksvd_result;

/* Why a session ended (on_disconnect). */
typedef enum ksvd_end {
    KSVD_END_GOODBYE = 1, /* the handheld said Goodbye */
    KSVD_END_NO_PING = 2, /* a DevicePing went unanswered for a whole period */
    KSVD_END_LOCAL = 3    /* the firmware called ksvd_goodbye */
} ksvd_end;

/* Bits of a control's flags word. */
#define KSVD_HIDDEN 0x00000001UL   /* not shown (a message box: not put up yet) */
#define KSVD_WIDE 0x00000004UL     /* strings and text values are UTF-16LE (else 8-bit) */
#define KSVD_NEW_ROW 0x00000008UL  /* starts a new row of the page */
#define KSVD_DISABLED 0x00000080UL /* shown greyed, takes no input */
#define KSVD_EDITABLE 0x00010000UL /* T, N, D editable; I reports taps; O text content */
#define KSVD_N_MIN 0x00020000UL    /* N: field 'n' is the minimum */
#define KSVD_N_MAX 0x00040000UL    /* N: field 'x' is the maximum */

/* Header flags of HelloReply (config hello_flags). */
#define KSVD_HELLO_NO_PINGS 0x0002   /* the handheld sends no pings */
#define KSVD_HELLO_KEEP_PANEL 0x0010 /* the handheld keeps the panel on screen after Goodbye */

/* Lettered field of a control record beyond its caption. */
typedef enum ksvd_field_type { KSVD_F_U32 = 0, KSVD_F_BYTE = 1, KSVD_F_TEXT = 2 } ksvd_field_type;

typedef struct ksvd_field {
    char letter;
    uint8_t type;     /* ksvd_field_type */
    uint32_t number;  /* U32 and BYTE; TEXT: its length, 0 for up to the NUL */
    const char* text; /* TEXT: 8-bit, widened to UTF-16LE for wide controls */
} ksvd_field;

#define KSVD_U32(letter, value)                                                                    \
    { (letter), KSVD_F_U32, (uint32_t)(value), NULL }
#define KSVD_BYTE(letter, value)                                                                   \
    { (letter), KSVD_F_BYTE, (uint32_t)(value), NULL }
#define KSVD_TEXT(letter, string)                                                                  \
    { (letter), KSVD_F_TEXT, 0, (string) }
/* Texts back to back, each ending in NUL (list items, series names): a string literal like
 * "Slow\0Fast\0" whose length is taken whole. */
#define KSVD_TEXTS(letter, literal)                                                                \
    { (letter), KSVD_F_TEXT, sizeof(literal) - 1, (literal) }
#define KSVD_COLOUR(bgr) KSVD_U32('c', (bgr)) /* 0x00BBGGRR */

/* One control of the panel, one line of a const table.
 *
 * tag: 'T' text, 'B' button, 'G' latch, 'S' section, 'D' date/time, 'N' number,
 * 'M' chart/table, 'P' password, 'L' list, 'X' message box, 'O' blob, 'F' file, 'I' image;
 * any other letter shows as a placeholder.
 *
 * value/size: the author's buffer (an image's bytes are read through read_table instead). Its
 * content at the time of a Hello is the control's initial value (a record stays below 64 KB); the
 * library sends 'm' (T, X, O) from `size`, so a field 'm' in `fields` is only needed to announce
 * something else. */
typedef struct ksvd_control {
    uint32_t id;
    uint32_t flags;
    char tag;
    uint8_t nfields;
    const char* caption;      /* field 'Z'; NULL for none */
    const ksvd_field* fields; /* nfields entries */
    void* value;
    uint16_t size;
} ksvd_control;

#define KSVD_NFIELDS(array) ((uint8_t)(sizeof(array) / sizeof((array)[0])))

/* A recommended layout entry: keys A and B and the value (LayoutEntries). */
typedef struct ksvd_layout {
    uint32_t key_a;
    uint32_t key_b;
    uint32_t value;
} ksvd_layout;

/* What the firmware author provides. Hooks and callbacks get `ctx` back; callbacks may be NULL.
 * The config must outlive the device; the tables it points to are read through read_table. */
typedef struct ksvd_config {
    const char* name;             /* device name, sent in every HelloReply */
    const ksvd_control* controls; /* the panel, in description order */
    uint8_t ncontrols;            /* at most KSVD_MAX_CONTROLS */
    const ksvd_layout* layout;    /* answer to LayoutRequest; NULL: none */
    uint16_t nlayout;
    uint16_t hello_flags;    /* KSVD_HELLO_* */
    uint16_t max_frame;      /* cap on a Values frame's bytes, header included; 0: none */
    uint32_t ping_period_ms; /* DevicePing period; 0: never ping */
    uint8_t request_ack;     /* ask for Acknowledge on every frame that can carry it */
    uint8_t* password_buf;   /* KSVD_PASSWORD_SIZE bytes for a password report, or NULL */

    uint8_t (*read_table)(const void* address); /* NULL: tables are in plain memory */
    void (*write)(void* ctx, const uint8_t* bytes, uint16_t n); /* takes all n bytes */
    void* ctx;

    void (*on_value)(void* ctx, uint32_t id, const uint8_t* data, uint16_t len);
    void (*on_connect)(void* ctx);
    void (*on_disconnect)(void* ctx, uint8_t why); /* ksvd_end */
    void (*on_layout_request)(void* ctx, uint32_t argument);
    void (*on_password)(void* ctx, uint32_t id, const uint8_t* first, const uint8_t* second);
    void (*on_ack)(void* ctx);
} ksvd_config;

/* Reads the bytes of a file being sent: up to n bytes at `offset` into `out`; returns the
 * number read (fewer than asked only at the end of the file, which then ends with zeros). */
typedef uint16_t (*ksvd_read_fn)(void* ctx, uint32_t offset, uint8_t* out, uint16_t n);

/* The library's whole state; the author allocates it (statically) and never touches it. */
typedef struct ksvd_device {
    const ksvd_config* cfg;
    /* receiver */
    uint32_t word;   /* the header's last four bytes or a u32, shifted in */
    uint32_t id;     /* control id of the entry being read */
    uint16_t left;   /* bytes left of the header, word or value being read */
    uint16_t count;  /* entries left in a Values frame */
    uint16_t got;    /* value bytes of the entry passed on from the stage */
    uint8_t* target; /* where the entry's value goes; NULL: the stage only */
    uint16_t room;   /* bytes of target */
    uint8_t state;
    uint8_t marker; /* marker bytes matched so far */
    uint8_t index;  /* control of the entry being read */
    uint8_t tag;    /* its tag; 't' for 8-bit text */
    uint8_t staged;
    uint8_t stage[8]; /* the last value bytes, held back until the entry completes */
    /* session */
    uint8_t pending; /* frames due at the next poll */
    uint8_t connected;
    uint8_t ping_out;  /* a DevicePing waits for its reply */
    uint8_t measuring; /* output is counted into `measured`, not written */
    uint16_t measured;
    uint32_t ping_at;
    uint8_t changed[(KSVD_MAX_CONTROLS + 7) / 8];
    /* file transfer streaming */
    void (*file_step)(struct ksvd_device* dev); /* set while a file streams */
    ksvd_read_fn file_read;
    void* file_ctx;
    uint32_t file_size;
    uint32_t file_sent;
} ksvd_device;

/* Starts the device: no session until the handheld's Hello. */
ksvd_result ksvd_init(ksvd_device* dev, const ksvd_config* cfg);

/* Takes received bytes, split anyhow. Parses the handheld's frames, writes received values into
 * the author's buffers and calls on_value, on_password, on_disconnect, on_connect, on_ack.
 * Replies (HelloReply with the panel, PingReply, LayoutEntries) go out at the next ksvd_poll. */
void ksvd_feed(ksvd_device* dev, const uint8_t* bytes, size_t n);

/* Sends what is due: replies, a DevicePing on its period (and ends the session when the last
 * one went unanswered), one Values frame of the changed controls under max_frame, the next
 * piece of a streaming file. `now_ms` is any millisecond clock; it may wrap. */
void ksvd_poll(ksvd_device* dev, uint32_t now_ms);

/* Marks a control whose buffer the firmware changed; its value goes out at the next poll. */
ksvd_result ksvd_changed(ksvd_device* dev, uint32_t id);

/* StyleUpdate for one control: the style word (bits 0 and 4 taken over by the handheld; of a
 * message box also its icon and buttons, 0x00770000) and,
 * when bit 6 (0x40) of it is set, a new colour 0x00BBGGRR. */
ksvd_result ksvd_send_style(ksvd_device* dev, uint32_t id, uint32_t style, uint32_t colour);

/* MatrixRows for one chart/table row: `row` holds the columns' cells, the label, the cursor
 * word and the row position (u32) as the handheld lays them out. */
ksvd_result ksvd_send_row(ksvd_device* dev, uint32_t id, const uint8_t* row, uint16_t len);

/* FileTransfer of one file for a file control, streamed over the following polls from `read`.
 * `path` is the name on the handheld (8-bit; widened for a wide control). Other frames wait
 * until the file is out; a Hello cuts it off. */
ksvd_result ksvd_send_file(ksvd_device* dev, uint32_t id, const char* path, uint32_t size,
                           ksvd_read_fn read, void* read_ctx);

/* ResetRequest: asks the handheld to reset the link (it then sends Hello again). */
ksvd_result ksvd_request_reset(ksvd_device* dev);

/* Goodbye: ends the session; on_disconnect(KSVD_END_LOCAL) follows. */
ksvd_result ksvd_goodbye(ksvd_device* dev);

/* 1 while a handheld is connected (from its Hello until Goodbye or a lost ping). */
int ksvd_connected(const ksvd_device* dev);

#ifdef __cplusplus
}
#endif

#endif /* KSVD_H */
