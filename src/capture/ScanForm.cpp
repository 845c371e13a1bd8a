#include "capture/ScanForm.h"

#include "capture/CoordHint.h"
#include "capture/LoupeForm.h"
#include "capture/OverlayGeometry.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <cmath>
#include <cstdlib>

namespace px {

namespace {

// Where a fresh loupe goes when the pointer sits exactly on a centre line.
const QPoint kLoupeStartPosition(10, 10);

// Arrow keys move the pointer by one pixel, with Ctrl by fifteen.
constexpr int kArrowStep = 1;
constexpr int kArrowCtrlStep = 15;

// A filled shape is filled with the button face; otherwise only its outline is drawn.
std::optional<QColor> ShapeFill(const ScanFormSettings& settings, const QPalette& palette)
{
    return settings.filledShape ? std::optional<QColor>(palette.color(QPalette::Button)) : std::nullopt;
}

} // namespace

TScanForm::TScanForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint)
{
    setObjectName(QStringLiteral("ScanForm"));
    // The frozen picture covers every pixel: no background erase, so nothing flickers.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::CrossCursor);
}

TScanForm::~TScanForm() = default;

void TScanForm::ShowOverlay(const QImage& frozen, const QRect& screenGeometry, const ScanFormSettings& settings)
{
    m_settings = settings;
    m_screenGeometry = screenGeometry;
    QScreen* screen = QGuiApplication::screenAt(screenGeometry.topLeft());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    m_dpr = screen ? screen->devicePixelRatio() : 1.0;
    if (m_dpr <= 0)
        m_dpr = 1.0;

    // The canvas is the screen in physical pixels; a frozen picture of another size sits in
    // its middle, 1:1, on the button face.
    if (frozen.size() == screenGeometry.size()) {
        m_canvas = frozen.convertToFormat(QImage::Format_RGB32);
    } else {
        m_canvas = QImage(screenGeometry.size(), QImage::Format_RGB32);
        m_canvas.fill(palette().color(QPalette::Button));
        QPainter painter(&m_canvas);
        painter.drawImage((m_canvas.width() - frozen.width()) / 2, (m_canvas.height() - frozen.height()) / 2, frozen);
    }
    m_canvas.setDevicePixelRatio(1.0);

    CrossPos = QPoint(-1, -1);
    LastHintPos = QPoint(0, 0);
    ObjectMode = false;
    KeyDragActive = false;
    m_pressed = false;
    m_shapeDrawn = false;
    m_loupe.reset();
    m_pen = OverlayPenFor(settings.sBorder, settings.sBForce);
    setCursor(settings.tool == ToolObject ? Qt::PointingHandCursor : Qt::CrossCursor);
    m_hint = std::make_unique<TCoordHint>(this);

    const QSize logicalSize(qCeil(screenGeometry.width() / m_dpr), qCeil(screenGeometry.height() / m_dpr));
    setGeometry(QRect(screenGeometry.topLeft(), logicalSize));
    show();
    raise();
    activateWindow();
    setFocus(Qt::ActiveWindowFocusReason);
    // The display refuses a keyboard grab for a window it has not mapped yet; the first paint
    // (the window is on screen then) asks again.
    grabKeyboard();
    m_keyboardGrabPending = true;
    update();
}

void TScanForm::HideOverlay()
{
    m_keyboardGrabPending = false;
    releaseKeyboard();
    m_loupe.reset();
    m_hint.reset();
    hide();
    m_pressed = false;
    m_shapeDrawn = false;
    KeyDragActive = false;
}

QPoint TScanForm::ClientPixel(const QPointF& logical) const
{
    return QPoint(qFloor(logical.x() * m_dpr), qFloor(logical.y() * m_dpr));
}

QPoint TScanForm::PointerClientPixel() const
{
    return ClientPixel(QPointF(mapFromGlobal(QCursor::pos())));
}

void TScanForm::MarkDirty(const QRegion& physical)
{
    if (physical.isEmpty())
        return;
    if (m_dpr == 1.0) {
        update(physical);
        return;
    }
    QRegion logical;
    for (const QRect& r : physical)
        logical += QRectF(r.x() / m_dpr, r.y() / m_dpr, r.width() / m_dpr, r.height() / m_dpr)
                       .toAlignedRect()
                       .adjusted(-1, -1, 1, 1);
    update(logical);
}

void TScanForm::paintEvent(QPaintEvent* event)
{
    if (m_keyboardGrabPending) {
        m_keyboardGrabPending = false;
        grabKeyboard();
    }
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& area : event->region()) {
        if (m_dpr == 1.0) {
            painter.drawImage(area.topLeft(), m_canvas, area);
        } else {
            const QRectF source(area.x() * m_dpr, area.y() * m_dpr, area.width() * m_dpr, area.height() * m_dpr);
            painter.drawImage(QRectF(area), m_canvas, source);
        }
    }
}

void TScanForm::FormMouseDown(const QPoint& pos, Qt::MouseButton button)
{
    ObjectMode = false;
    if (button != Qt::LeftButton)
        return;
    // A second press without a release (Shift while the button is held) starts afresh.
    OverlayPainter painter(m_canvas);
    const std::optional<QColor> fill = ShapeFill(m_settings, palette());
    if (m_shapeDrawn)
        MarkDirty(painter.DrawShape(m_settings.tool, StartPoint, EndPoint, m_pen, fill));
    m_shapeDrawn = false;

    m_pressed = true;
    StartPoint = pos;
    EndPoint = pos;
    switch (m_settings.tool) {
    case ToolRectangle:
    case ToolTriangle:
    case ToolEllipse:
        MarkDirty(painter.DrawShape(m_settings.tool, StartPoint, EndPoint, m_pen, fill));
        m_shapeDrawn = true;
        break;
    case ToolObject:
        ObjectMode = true;
        break;
    default:
        break; // the rounded rectangle appears with the first move
    }

    if (m_settings.loupe && m_settings.tool != ToolObject) {
        if (!m_loupe)
            m_loupe = std::make_unique<TPrevKoordForm>(this);
        PlaceLoupe(pos, true);
        m_loupe->show();
    }
}

void TScanForm::PlaceLoupe(const QPoint& pos, bool always)
{
    // The loupe is a window of its own, placed in logical pixels of this screen.
    const QPoint origin = geometry().topLeft();
    const QPoint pointer(qFloor(pos.x() / m_dpr), qFloor(pos.y() / m_dpr));
    const QPoint current = always ? kLoupeStartPosition : m_loupe->pos() - origin;
    if (!always && !QRect(current, m_loupe->size()).contains(pointer))
        return;
    m_loupe->move(origin + LoupePlacement(pointer, size(), current));
}

void TScanForm::UpdateHint(const QPoint& pos)
{
    if (!m_settings.cursorHint || !m_hint)
        return;
    if (std::abs(pos.x() - LastHintPos.x()) <= 1 && std::abs(pos.y() - LastHintPos.y()) <= 1)
        return;
    LastHintPos = pos;
    const QPoint logical(qFloor(pos.x() / m_dpr), qFloor(pos.y() / m_dpr));
    const QPoint screenPoint = mapToGlobal(logical) + QPoint(0, PointerCursorHeight());
    m_hint->ShowAt(screenPoint, pos.x(), pos.y());
}

void TScanForm::FormMouseMove(const QPoint& pos, bool leftHeld)
{
    UpdateHint(pos);
    // Only a drag this overlay saw begin draws: a button held since before the overlay
    // appeared has no start point to draw from.
    if (!leftHeld || !m_pressed || ObjectMode)
        return;

    OverlayPainter painter(m_canvas);
    if (m_settings.sCross) {
        if (CrossPos.x() >= 0 && CrossPos.y() >= 0)
            MarkDirty(painter.DrawCross(CrossPos, m_pen));
        MarkDirty(painter.DrawCross(pos, m_pen));
        CrossPos = pos;
    }

    const std::optional<QColor> fill = ShapeFill(m_settings, palette());
    if (m_shapeDrawn)
        MarkDirty(painter.DrawShape(m_settings.tool, StartPoint, EndPoint, m_pen, fill));
    EndPoint = pos;
    MarkDirty(painter.DrawShape(m_settings.tool, StartPoint, EndPoint, m_pen, fill));
    m_shapeDrawn = true;

    if (m_loupe) {
        m_loupe->ShowMagnified(m_canvas, LoupeSourceRect(pos, m_settings.lFaktor));
        m_loupe->SetFields(pos.x(), pos.y(), std::abs(EndPoint.x() - StartPoint.x()),
                           std::abs(EndPoint.y() - StartPoint.y()));
        PlaceLoupe(pos, false);
    }
}

void TScanForm::FormMouseUp(const QPoint& pos)
{
    // Only a release that ends a drag this overlay saw begin captures anything; a lone right
    // click would otherwise capture whatever region an earlier capture left behind.
    if (!m_pressed)
        return;
    const QPoint start = ToScreen(StartPoint);
    const QPoint end = ToScreen(EndPoint);
    const bool objectMode = ObjectMode;
    HideOverlay();
    emit RegionReleased(start, end, ToScreen(pos), objectMode);
}

void TScanForm::mousePressEvent(QMouseEvent* event)
{
    FormMouseDown(ClientPixel(event->position()), event->button());
}

void TScanForm::mouseMoveEvent(QMouseEvent* event)
{
    FormMouseMove(ClientPixel(event->position()), event->buttons().testFlag(Qt::LeftButton));
}

void TScanForm::mouseReleaseEvent(QMouseEvent* event)
{
    FormMouseUp(ClientPixel(event->position()));
}

void TScanForm::keyPressEvent(QKeyEvent* event)
{
    const QPoint pointer = PointerClientPixel();
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        HideOverlay();
        emit WindowUnderPointerRequested(ToScreen(pointer));
        return;
    case Qt::Key_Space:
        if (m_settings.tool == ToolObject) {
            HideOverlay();
            emit WindowUnderPointerRequested(ToScreen(pointer));
        }
        return;
    case Qt::Key_Escape:
        HideOverlay();
        emit Cancelled();
        return;
    case Qt::Key_Shift:
        if (!KeyDragActive && !event->isAutoRepeat()) {
            FormMouseDown(pointer, Qt::LeftButton);
            KeyDragActive = true;
            raise();
            activateWindow();
        }
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const int step = event->modifiers().testFlag(Qt::ControlModifier) ? kArrowCtrlStep : kArrowStep;
        QPoint delta;
        if (event->key() == Qt::Key_Left)
            delta.setX(-step);
        else if (event->key() == Qt::Key_Right)
            delta.setX(step);
        else if (event->key() == Qt::Key_Up)
            delta.setY(-step);
        else
            delta.setY(step);
        QCursor::setPos(QCursor::pos() + delta);
        // Read the position back: the display keeps the pointer on the screen.
        if (KeyDragActive)
            FormMouseMove(PointerClientPixel(), true);
        return;
    }
    default:
        QWidget::keyPressEvent(event);
    }
}

void TScanForm::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Shift && !event->isAutoRepeat()) {
        KeyDragActive = false;
        FormMouseUp(PointerClientPixel());
        return;
    }
    QWidget::keyReleaseEvent(event);
}

} // namespace px
