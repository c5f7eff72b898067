#include "platform/layout/control_layout.h"

#include "platform/layout/layout_attributes.h"
#include "platform/layout/layout_ranges.h"

namespace ksv {
namespace {

// Reads one entry over its current value.
class EntryReader {
public:
    EntryReader(const DeviceSettings& device, uint32_t id) : m_device(device), m_id(id) {}

    int32_t Int(uint32_t attribute, int32_t current, int32_t (*sanitise)(int32_t)) const {
        return sanitise(m_device.GetDeviceInt(m_id, attribute, current));
    }
    bool Flag(uint32_t attribute, bool current) const {
        return m_device.GetDeviceInt(m_id, attribute, current ? 1 : 0) != 0;
    }
    void PlacementAt(uint32_t xAttribute, Placement& placement) const {
        // The open placement's attributes follow the plain ones by one.
        const uint32_t offset = xAttribute - kAttrX;
        placement.x = Int(kAttrX + offset, placement.x, SanitiseCoordinate);
        placement.y = Int(kAttrY + offset, placement.y, SanitiseCoordinate);
        placement.width = Int(kAttrWidth + offset, placement.width, SanitiseExtent);
        placement.height = Int(kAttrHeight + offset, placement.height, SanitiseExtent);
        placement.page = Int(kAttrPage + offset, placement.page, SanitisePage);
    }

private:
    const DeviceSettings& m_device;
    uint32_t m_id;
};

class EntryWriter {
public:
    EntryWriter(DeviceSettings& device, uint32_t id) : m_device(device), m_id(id) {}

    void Int(uint32_t attribute, int32_t value) { m_device.WriteDeviceInt(m_id, attribute, value); }
    void Flag(uint32_t attribute, bool value) { Int(attribute, value ? 1 : 0); }
    void PlacementAt(uint32_t xAttribute, const Placement& placement) {
        const uint32_t offset = xAttribute - kAttrX;
        Int(kAttrX + offset, placement.x);
        Int(kAttrY + offset, placement.y);
        Int(kAttrWidth + offset, placement.width);
        Int(kAttrHeight + offset, placement.height);
        Int(kAttrPage + offset, placement.page);
    }

private:
    DeviceSettings& m_device;
    uint32_t m_id;
};

} // namespace

int32_t ReadAppearance(const DeviceSettings& device, uint32_t id, const LayoutTraits& traits,
                       int32_t current) {
    return SanitiseAppearance(device.GetDeviceInt(id, kAttrAppearance, current),
                              traits.lastAppearance);
}

void ReadControlLayout(const DeviceSettings& device, uint32_t id, const LayoutTraits& traits,
                       ControlLayout& layout) {
    const EntryReader read(device, id);
    layout.appearance = ReadAppearance(device, id, traits, layout.appearance);
    layout.autoPlace = read.Flag(kAttrAutoPlace, layout.autoPlace);
    if (layout.autoPlace) {
        return;
    }
    read.PlacementAt(kAttrX, layout.placement);
    layout.fontHeight = read.Int(kAttrFontHeight, layout.fontHeight, SanitiseFontHeight);
    layout.fontBold = read.Flag(kAttrFontBold, layout.fontBold);
    layout.labelFontHeight =
        read.Int(kAttrLabelFontHeight, layout.labelFontHeight, SanitiseFontHeight);
    layout.labelBold = read.Flag(kAttrLabelBold, layout.labelBold);
    layout.border = read.Flag(kAttrBorder, layout.border);
    layout.showLabel = read.Flag(kAttrShowLabel, layout.showLabel);
    // The alignments default to 0, not to the current value.
    layout.align = read.Int(kAttrAlign, 0, SanitiseAlign);
    if (traits.openPlacement) {
        read.PlacementAt(kAttrXOpen, layout.open);
    }
    if (traits.image) {
        layout.imageHAlign = read.Int(kAttrImageHAlign, 0, SanitiseAlign);
        layout.imageVAlign = read.Int(kAttrAlign, 0, SanitiseAlign);
    }
}

void WriteControlLayout(DeviceSettings& device, uint32_t id, const LayoutTraits& traits,
                        const ControlLayout& layout) {
    EntryWriter write(device, id);
    write.Flag(kAttrAutoPlace, layout.autoPlace);
    write.PlacementAt(kAttrX, layout.placement);
    write.Int(kAttrAppearance, layout.appearance);
    write.Int(kAttrFontHeight, layout.fontHeight);
    write.Flag(kAttrFontBold, layout.fontBold);
    write.Int(kAttrLabelFontHeight, layout.labelFontHeight);
    write.Flag(kAttrLabelBold, layout.labelBold);
    write.Flag(kAttrShowLabel, layout.showLabel);
    write.Flag(kAttrBorder, layout.border);
    write.Int(kAttrAlign, layout.align);
    if (traits.openPlacement) {
        write.PlacementAt(kAttrXOpen, layout.open);
    }
}

void ReadPageBarLayout(const DeviceSettings& device, int32_t pseudoId, ControlLayout& layout) {
    const EntryReader read(device, EntryId(pseudoId));
    layout.autoPlace = read.Flag(kAttrAutoPlace, layout.autoPlace);
    if (layout.autoPlace) {
        return;
    }
    read.PlacementAt(kAttrX, layout.placement);
    // A page-bar button is a push button: one appearance.
    layout.appearance =
        ReadAppearance(device, EntryId(pseudoId), LayoutTraits{}, layout.appearance);
    layout.fontHeight = read.Int(kAttrFontHeight, layout.fontHeight, SanitiseFontHeight);
    layout.fontBold = read.Flag(kAttrFontBold, layout.fontBold);
}

void WritePageBarLayout(DeviceSettings& device, int32_t pseudoId, const ControlLayout& layout) {
    EntryWriter write(device, EntryId(pseudoId));
    write.Flag(kAttrAutoPlace, layout.autoPlace);
    write.PlacementAt(kAttrX, layout.placement);
    write.Int(kAttrAppearance, layout.appearance);
    write.Int(kAttrFontHeight, layout.fontHeight);
    write.Flag(kAttrFontBold, layout.fontBold);
}

} // namespace ksv
