// Kestrovane on an ESP32 over Bluetooth classic serial (SPP), with the Arduino core's
// BluetoothSerial. Pair with "Kestrovane ESP32", bind its serial channel to /dev/rfcomm0 and
// link that into the ports folder (see device/README.md). A latch "LED" drives the board's LED;
// the read-only "Status" text follows it; a slider-style number "Level" comes and goes.
#include <BluetoothSerial.h>
#include <ksvd.h>

static const int kLedPin = 2; // the LED of most ESP32 development boards

enum { ID_LED = 1, ID_STATUS, ID_LEVEL, ID_HEAP };

static uint8_t led;
static char status[12] = "LED off";
static int32_t level = 50;
static int32_t heap;

static const ksvd_field level_fields[] = {KSVD_U32('n', 0), KSVD_U32('x', 100),
                                          KSVD_TEXT('f', "%% %")};
static const ksvd_field heap_fields[] = {KSVD_TEXT('f', "%% bytes")};

// id, flags, tag, field count, caption, fields, value buffer, its size: one control a line.
/* clang-format off */
static const ksvd_control panel[] = {
    {ID_LED, 0, 'G', 0, "LED", NULL, &led, sizeof led},
    {ID_STATUS, 0, 'T', 0, "Status", NULL, status, sizeof status},
    {ID_LEVEL, KSVD_EDITABLE | KSVD_N_MIN | KSVD_N_MAX, 'N', 3, "Level", level_fields, &level, sizeof level},
    {ID_HEAP, 0, 'N', 1, "Free heap", heap_fields, &heap, sizeof heap},
};
/* clang-format on */

static BluetoothSerial bt;
static ksvd_device dev;

static void bt_write(void*, const uint8_t* bytes, uint16_t n) {
    bt.write(bytes, n);
}

static void on_value(void*, uint32_t id, const uint8_t*, uint16_t) {
    if (id == ID_LED) {
        digitalWrite(kLedPin, led ? HIGH : LOW);
        strcpy(status, led ? "LED on" : "LED off");
        ksvd_changed(&dev, ID_STATUS);
    }
}

static const ksvd_config config = {
    .name = "ESP32",
    .controls = panel,
    .ncontrols = sizeof panel / sizeof panel[0],
    .max_frame = 512,
    .ping_period_ms = 5000,
    .write = bt_write,
    .on_value = on_value,
};

void setup() {
    pinMode(kLedPin, OUTPUT);
    bt.begin("Kestrovane ESP32");
    ksvd_init(&dev, &config);
}

void loop() {
    static uint32_t sampled;
    while (bt.available() > 0) {
        uint8_t byte = (uint8_t)bt.read();
        ksvd_feed(&dev, &byte, 1);
    }
    if (millis() - sampled >= 2000) {
        sampled = millis();
        heap = (int32_t)ESP.getFreeHeap();
        ksvd_changed(&dev, ID_HEAP);
    }
    ksvd_poll(&dev, millis());
}
