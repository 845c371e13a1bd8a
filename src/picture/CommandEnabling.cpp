#include "picture/CommandEnabling.h"

#include "picture/FileTypeLabel.h"

namespace px {

namespace {

const QString kPrint = QStringLiteral("PrintClick");
const QString kPrintPreview = QStringLiteral("PrintPrevMenuItemClick");
const QString kJpgScale = QStringLiteral("JpgScaleMenuItemClick");
const QString kPaste = QStringLiteral("PasteToolButtonClick");

// Commands that need nothing but a graphic (printing is added separately: it needs a printer).
const QStringList& DocumentCommandHandlers()
{
    static const QStringList handlers = {
        QStringLiteral("CopyClick"),
        QStringLiteral("SaveAsClick"),
        QStringLiteral("CutMenuItemClick"),
        QStringLiteral("FastSaveToolButtonClick"),
    };
    return handlers;
}

} // namespace

const QStringList& EditingCommandHandlers()
{
    // Mirror, invert, rotate, grey levels, brighter, darker, contrast, scaling, border, text,
    // footnote, desktop background, smoothing, crop, colour channels, mark pen, numbering and
    // the cursor insertions (all twenty and "Aus&suchen..." share one handler).
    static const QStringList handlers = {
        QStringLiteral("MirrowingH"),
        QStringLiteral("MirrowingV"),
        QStringLiteral("InvertClick"),
        QStringLiteral("RotationClick"),
        QStringLiteral("GrayStepClick"),
        QStringLiteral("HellClick"),
        QStringLiteral("DarkToolButtonClick"),
        QStringLiteral("KontrastClick"),
        QStringLiteral("ScaleClick"),
        QStringLiteral("ValScaleMenuItemClick"),
        QStringLiteral("BorderMenuItemClick"),
        QStringLiteral("TxtInpMenuItemClick"),
        QStringLiteral("FeetLineMenuItemClick"),
        QStringLiteral("DTBackgrMenuItemClick"),
        QStringLiteral("GlttenMenuItemClick"),
        QStringLiteral("GlttenMenuItem2Click"),
        QStringLiteral("CutterMenuItemClick"),
        QStringLiteral("CutterEnterMenuItemClick"),
        QStringLiteral("RGBChanMenuItemClick"),
        QStringLiteral("MarkToolButtonClick"),
        QStringLiteral("MarkMenuItemClick"),
        QStringLiteral("NumMenuItemClick"),
        QStringLiteral("MausMenuItemClick"),
    };
    return handlers;
}

const QStringList& ViewCommandHandlers()
{
    static const QStringList handlers = {
        QStringLiteral("WinDimMenuItemClick"),
        QStringLiteral("DocCentMenuItemClick"),
        QStringLiteral("GsMenuItemClick"),
        QStringLiteral("DocFocMenuItemClick"),
        QStringLiteral("TransMenuItemClick"),
        QStringLiteral("CoordNetMenuItemClick"),
    };
    return handlers;
}

std::map<QString, bool> EnabledCommands(const DocumentState& state)
{
    const bool hasGraphic = state.kind != GraphicKind::None;
    const bool editable = state.kind == GraphicKind::Bitmap;

    std::map<QString, bool> enabled;
    for (const QString& handler : DocumentCommandHandlers())
        enabled[handler] = hasGraphic;
    for (const QString& handler : ViewCommandHandlers())
        enabled[handler] = hasGraphic;
    for (const QString& handler : EditingCommandHandlers())
        enabled[handler] = editable;

    enabled[kPrint] = hasGraphic && state.printerAvailable;
    if (state.previewWindowExistsAndHidden)
        enabled[kPrintPreview] = hasGraphic && state.printerAvailable;
    enabled[kJpgScale] = hasGraphic && isJpgLabel(state.label);
    enabled[kPaste] = state.clipboardHasPicture;
    return enabled;
}

std::map<QString, bool> MenuOpenEnabling(const DocumentState& state)
{
    std::map<QString, bool> enabled;
    if (!state.printerAvailable) {
        enabled[kPrint] = false;
        enabled[kPrintPreview] = false;
    } else if (state.kind != GraphicKind::None && state.kind != GraphicKind::Bitmap) {
        enabled[kPrintPreview] = false;
    }
    enabled[kJpgScale] = isJpgLabel(state.label);
    return enabled;
}

} // namespace px
