#include "app/LanguageProperties.h"

#include "app/LanguageFile.h"
#include "app/MultiLanguage.h"
#include "platform/WinTypes.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMetaProperty>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSystemTrayIcon>
#include <QTableWidget>
#include <QTextEdit>
#include <QTreeWidget>
#include <QWidget>
#include <limits>

namespace px {

namespace {

// What the parts of a path before its property name lead to: an object, or one of its
// sub-objects.
struct Target {
    enum class Part { Object, Font, Column };
    QObject* object = nullptr;
    Part part = Part::Object;
    int column = -1;
};

std::optional<bool> parseBool(const QString& value)
{
    if (value.compare(u"True", Qt::CaseInsensitive) == 0)
        return true;
    if (value.compare(u"False", Qt::CaseInsensitive) == 0)
        return false;
    return std::nullopt;
}

std::optional<int> parseInt(const QString& value)
{
    const auto v = LanguageIntegerValue(value);
    if (!v || *v < std::numeric_limits<int>::min() || *v > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(*v);
}

// A list's text as lines; a final line break makes no empty last line.
QStringList textLines(const QString& value)
{
    if (value.isEmpty())
        return {};
    QStringList lines = value.split(u'\n');
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString shortHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.left(bar);
}

QString longHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.mid(bar + 1);
}

QObject* findComponent(QObject* parent, const QString& name)
{
    if (name.isEmpty())
        return nullptr;
    return parent->findChild<QObject*>(name);
}

std::optional<Target> resolve(QObject* owner, const QStringList& parts)
{
    static const QRegularExpression columnPart(QStringLiteral("^Columns\\[(\\d{1,4})\\]$"));
    Target t{owner};
    for (const QString& part : parts) {
        if (t.part != Target::Part::Object)
            return std::nullopt;
        if (QObject* child = findComponent(t.object, part)) {
            t.object = child;
            continue;
        }
        if (part == u"Font" && (qobject_cast<QWidget*>(t.object) || qobject_cast<QAction*>(t.object))) {
            t.part = Target::Part::Font;
            continue;
        }
        const auto m = columnPart.match(part);
        if (m.hasMatch() && (qobject_cast<QTreeWidget*>(t.object) || qobject_cast<QTableWidget*>(t.object))) {
            t.part = Target::Part::Column;
            t.column = m.captured(1).toInt();
            continue;
        }
        return std::nullopt;
    }
    return t;
}

// A menu's own entry in its parent menu or menu bar: where its hint, visibility and check
// mark live (showing the QMenu widget itself would pop it up).
QAction* menuEntry(QObject* object)
{
    if (auto* menu = qobject_cast<QMenu*>(object))
        return menu->menuAction();
    return qobject_cast<QAction*>(object);
}

bool setCaption(QObject* o, const QString& value)
{
    if (auto* menu = qobject_cast<QMenu*>(o))
        menu->setTitle(value);
    else if (auto* action = qobject_cast<QAction*>(o))
        action->setText(value);
    else if (auto* button = qobject_cast<QAbstractButton*>(o))
        button->setText(value);
    else if (auto* label = qobject_cast<QLabel*>(o))
        label->setText(value);
    else if (auto* group = qobject_cast<QGroupBox*>(o))
        group->setTitle(value);
    else if (auto* widget = qobject_cast<QWidget*>(o))
        widget->setWindowTitle(value);
    else
        return false;
    return true;
}

} // namespace

bool SetHint(QObject* o, const QString& value)
{
    if (QAction* action = menuEntry(o)) {
        action->setToolTip(shortHint(value));
        action->setStatusTip(longHint(value));
    } else if (auto* widget = qobject_cast<QWidget*>(o)) {
        widget->setToolTip(shortHint(value));
        widget->setStatusTip(longHint(value));
    } else if (auto* tray = qobject_cast<QSystemTrayIcon*>(o)) {
        tray->setToolTip(shortHint(value));
    } else {
        return false;
    }
    return true;
}

namespace {

bool setBoolAlias(QObject* o, const QString& name, const QString& value)
{
    const auto on = parseBool(value);
    if (!on)
        return false;
    if (name == u"Enabled") {
        if (auto* menu = qobject_cast<QMenu*>(o)) {
            menu->setEnabled(*on);
            menu->menuAction()->setEnabled(*on);
        } else if (auto* action = qobject_cast<QAction*>(o)) {
            action->setEnabled(*on);
        } else if (auto* widget = qobject_cast<QWidget*>(o)) {
            widget->setEnabled(*on);
        } else {
            return false;
        }
        return true;
    }
    if (name == u"Visible") {
        if (QAction* action = menuEntry(o))
            action->setVisible(*on);
        else if (auto* widget = qobject_cast<QWidget*>(o))
            widget->setVisible(*on);
        else if (auto* tray = qobject_cast<QSystemTrayIcon*>(o))
            tray->setVisible(*on);
        else
            return false;
        return true;
    }
    // Checked: only where a check mark exists.
    if (QAction* action = menuEntry(o)) {
        if (!action->isCheckable())
            return false;
        action->setChecked(*on);
    } else if (auto* button = qobject_cast<QAbstractButton*>(o)) {
        if (!button->isCheckable())
            return false;
        button->setChecked(*on);
    } else {
        return false;
    }
    return true;
}

bool setGeometryAlias(QObject* o, const QString& name, const QString& value)
{
    auto* widget = qobject_cast<QWidget*>(o);
    const auto v = parseInt(value);
    if (!widget || !v)
        return false;
    if (name == u"Left")
        widget->move(*v, widget->y());
    else if (name == u"Top")
        widget->move(widget->x(), *v);
    else if (*v < 0)
        return false;
    else if (name == u"Width")
        widget->resize(*v, widget->height());
    else
        widget->resize(widget->width(), *v);
    return true;
}

// Sets the palette roles of a widget; an invalid colour puts back its default ones.
void setPaletteRoles(QWidget* widget, std::initializer_list<QPalette::ColorRole> roles, const QColor& color)
{
    QPalette palette = widget->palette();
    const QPalette defaults = QApplication::palette(widget);
    for (const QPalette::ColorRole role : roles)
        palette.setBrush(role, color.isValid() ? QBrush(color) : defaults.brush(role));
    widget->setPalette(palette);
}

bool setColor(QObject* o, const QString& value)
{
    auto* widget = qobject_cast<QWidget*>(o);
    if (!widget)
        return false;
    const auto color = LanguageColor(value, widget->palette());
    if (!color)
        return false;
    setPaletteRoles(widget, {QPalette::Window, QPalette::Base}, *color);
    widget->setAutoFillBackground(color->isValid());
    return true;
}

bool setCursor(QObject* o, const QString& value)
{
    auto* widget = qobject_cast<QWidget*>(o);
    if (!widget)
        return false;
    if (parseInt(value) == int(CursorId::Default)) {
        widget->unsetCursor();
        return true;
    }
    const auto shape = LanguageCursor(value);
    if (!shape)
        return false;
    widget->setCursor(*shape);
    return true;
}

bool setStrings(QObject* o, const QString& name, const QString& value)
{
    const QStringList lines = textLines(value);
    if (name == u"Items") {
        if (auto* combo = qobject_cast<QComboBox*>(o)) {
            combo->clear();
            combo->addItems(lines);
            return true;
        }
        if (auto* list = qobject_cast<QListWidget*>(o)) {
            list->clear();
            list->addItems(lines);
            return true;
        }
        return false;
    }
    if (auto* plain = qobject_cast<QPlainTextEdit*>(o)) {
        plain->setPlainText(lines.join(u'\n'));
        return true;
    }
    if (auto* rich = qobject_cast<QTextEdit*>(o)) {
        rich->setPlainText(lines.join(u'\n'));
        return true;
    }
    return false;
}

// "[fsBold,fsItalic]": the set of font styles; an unknown member spoils the whole value.
bool applyFontStyle(QFont& font, const QString& value)
{
    if (!value.startsWith(u'[') || !value.endsWith(u']'))
        return false;
    bool bold = false, italic = false, underline = false, strikeOut = false;
    for (const QString& raw : value.mid(1, value.size() - 2).split(u',')) {
        const QString member = raw.trimmed();
        if (member.isEmpty())
            continue;
        if (member.compare(u"fsBold", Qt::CaseInsensitive) == 0)
            bold = true;
        else if (member.compare(u"fsItalic", Qt::CaseInsensitive) == 0)
            italic = true;
        else if (member.compare(u"fsUnderline", Qt::CaseInsensitive) == 0)
            underline = true;
        else if (member.compare(u"fsStrikeOut", Qt::CaseInsensitive) == 0)
            strikeOut = true;
        else
            return false;
    }
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeOut);
    return true;
}

bool setFontProperty(QObject* o, const QString& name, const QString& value)
{
    auto* widget = qobject_cast<QWidget*>(o);
    auto* action = qobject_cast<QAction*>(o);
    if (name == u"Color") {
        if (!widget)
            return false;
        const auto color = LanguageColor(value, widget->palette());
        if (!color)
            return false;
        setPaletteRoles(widget, {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}, *color);
        return true;
    }
    QFont font = widget ? widget->font() : action->font();
    if (name == u"Name") {
        if (value.isEmpty())
            return false;
        font.setFamily(value);
    } else if (name == u"Size" || name == u"Height") {
        // A positive size is in points; a negative one, like every height, in pixels.
        const auto v = parseInt(value);
        if (!v || *v == 0 || *v < -4096 || *v > 4096)
            return false;
        if (name == u"Size" && *v > 0)
            font.setPointSize(*v);
        else
            font.setPixelSize(std::abs(*v));
    } else if (name == u"Style") {
        if (!applyFontStyle(font, value))
            return false;
    } else if (name == u"Charset") {
        // Text is Unicode throughout: a character set changes nothing, but a valid one is
        // still a valid entry.
        return parseInt(value).has_value();
    } else {
        return false;
    }
    if (widget)
        widget->setFont(font);
    else
        action->setFont(font);
    return true;
}

bool setColumnProperty(QObject* o, int column, const QString& name, const QString& value)
{
    if (auto* tree = qobject_cast<QTreeWidget*>(o)) {
        if (column >= tree->columnCount())
            return false;
        if (name == u"Caption") {
            tree->headerItem()->setText(column, value);
            return true;
        }
        if (name == u"Width") {
            const auto w = parseInt(value);
            if (!w || *w < 0)
                return false;
            tree->setColumnWidth(column, *w);
            return true;
        }
        return false;
    }
    auto* table = qobject_cast<QTableWidget*>(o);
    if (!table || column >= table->columnCount())
        return false;
    if (name == u"Caption") {
        QTableWidgetItem* item = table->horizontalHeaderItem(column);
        if (!item) {
            item = new QTableWidgetItem;
            table->setHorizontalHeaderItem(column, item);
        }
        item->setText(value);
        return true;
    }
    if (name == u"Width") {
        const auto w = parseInt(value);
        if (!w || *w < 0)
            return false;
        table->setColumnWidth(column, *w);
        return true;
    }
    return false;
}

std::optional<QVariant> convertForProperty(const QMetaProperty& property, const QString& value,
                                           const QObject* object)
{
    if (property.isEnumType()) {
        const QMetaEnum e = property.enumerator();
        bool ok = false;
        const QByteArray key = value.toUtf8();
        const int v = property.isFlagType() ? e.keysToValue(key.constData(), &ok) : e.keyToValue(key.constData(), &ok);
        if (ok)
            return QVariant(v);
        if (const auto n = parseInt(value))
            return QVariant(*n);
        return std::nullopt;
    }
    switch (property.metaType().id()) {
    case QMetaType::Bool:
        if (const auto b = parseBool(value))
            return QVariant(*b);
        return std::nullopt;
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Char:
    case QMetaType::SChar:
        if (const auto n = parseInt(value))
            return QVariant(*n);
        return std::nullopt;
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::UChar:
        if (const auto n = LanguageIntegerValue(value))
            return QVariant(*n);
        return std::nullopt;
    case QMetaType::Double:
    case QMetaType::Float: {
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (ok)
            return QVariant(d);
        return std::nullopt;
    }
    case QMetaType::QString:
        return QVariant(value);
    case QMetaType::QStringList:
        return QVariant(textLines(value));
    case QMetaType::QColor: {
        const auto* widget = qobject_cast<const QWidget*>(object);
        const auto color = LanguageColor(value, widget ? widget->palette() : QApplication::palette());
        if (color && color->isValid())
            return QVariant(*color);
        return std::nullopt;
    }
    default:
        break;
    }
    QVariant v(value);
    if (!v.convert(property.metaType()))
        return std::nullopt;
    return v;
}

// Any other name: the object's own Qt property of that name (or with its first letter in
// lower case, as Qt spells them). Dynamic properties are never created, and component names
// stay as built: the program and later lines find components by them.
bool setQtProperty(QObject* o, const QString& name, const QString& value)
{
    if (name.isEmpty())
        return false;
    const QMetaObject* meta = o->metaObject();
    int index = meta->indexOfProperty(name.toUtf8().constData());
    if (index < 0) {
        const QString lowered = name.left(1).toLower() + name.mid(1);
        index = meta->indexOfProperty(lowered.toUtf8().constData());
    }
    if (index < 0)
        return false;
    const QMetaProperty property = meta->property(index);
    if (!property.isWritable() || qstrcmp(property.name(), "objectName") == 0)
        return false;
    const auto converted = convertForProperty(property, value, o);
    return converted && property.write(o, *converted);
}

bool applyToObject(QObject* o, const QString& name, const QString& value)
{
    if (name == u"Caption")
        return setCaption(o, value);
    if (name == u"Hint")
        return SetHint(o, value);
    if (name == u"Enabled" || name == u"Visible" || name == u"Checked")
        return setBoolAlias(o, name, value);
    if (name == u"Width" || name == u"Height" || name == u"Left" || name == u"Top")
        return setGeometryAlias(o, name, value);
    if (name == u"Color")
        return setColor(o, value);
    if (name == u"Cursor")
        return setCursor(o, value);
    if (name == u"Items" || name == u"Lines")
        return setStrings(o, name, value);
    return setQtProperty(o, name, value);
}

std::optional<QPalette::ColorRole> systemColorRole(int index, QPalette::ColorGroup& group)
{
    group = QPalette::Active;
    switch (SystemColor(index)) {
    case SystemColor::ScrollBar: return QPalette::Button;
    case SystemColor::Background: return QPalette::Window;
    case SystemColor::ActiveCaption: return QPalette::Highlight;
    case SystemColor::InactiveCaption: group = QPalette::Inactive; return QPalette::Highlight;
    case SystemColor::Menu: return QPalette::Window;
    case SystemColor::Window: return QPalette::Base;
    case SystemColor::WindowFrame: return QPalette::Shadow;
    case SystemColor::MenuText: return QPalette::WindowText;
    case SystemColor::WindowText: return QPalette::Text;
    case SystemColor::CaptionText: return QPalette::HighlightedText;
    case SystemColor::ActiveBorder: return QPalette::Window;
    case SystemColor::InactiveBorder: return QPalette::Window;
    case SystemColor::AppWorkSpace: return QPalette::Mid;
    case SystemColor::Highlight: return QPalette::Highlight;
    case SystemColor::HighlightText: return QPalette::HighlightedText;
    case SystemColor::BtnFace: return QPalette::Button;
    case SystemColor::BtnShadow: return QPalette::Dark;
    case SystemColor::GrayText: group = QPalette::Disabled; return QPalette::Text;
    case SystemColor::BtnText: return QPalette::ButtonText;
    case SystemColor::InactiveCaptionText: group = QPalette::Inactive; return QPalette::HighlightedText;
    case SystemColor::BtnHighlight: return QPalette::Light;
    case SystemColor::DkShadow3D: return QPalette::Shadow;
    case SystemColor::Light3D: return QPalette::Midlight;
    case SystemColor::InfoText: return QPalette::ToolTipText;
    case SystemColor::InfoBk: return QPalette::ToolTipBase;
    case SystemColor::HotLight: return QPalette::Link;
    case SystemColor::GradientActiveCaption: return QPalette::Highlight;
    case SystemColor::GradientInactiveCaption: group = QPalette::Inactive; return QPalette::Highlight;
    case SystemColor::MenuHighlight: return QPalette::Highlight;
    case SystemColor::MenuBar: return QPalette::Window;
    }
    return std::nullopt;
}

} // namespace

std::optional<QColor> LanguageColor(const QString& value, const QPalette& palette)
{
    const auto v = LanguageIntegerValue(value);
    if (!v || *v < 0)
        return std::nullopt;
    const auto c = quint32(*v);
    if (c == kColorNone || c == kColorDefault)
        return QColor();
    if ((c & 0xFF000000u) == kSystemColorFlag) {
        QPalette::ColorGroup group = QPalette::Active;
        const auto role = systemColorRole(int(c & 0xFFu), group);
        if (!role || (c & 0x00FFFF00u) != 0)
            return std::nullopt;
        return palette.color(group, *role);
    }
    if (c > 0xFFFFFFu)
        return std::nullopt;
    return colorFromTColor(c);
}

std::optional<Qt::CursorShape> LanguageCursor(const QString& value)
{
    const auto v = LanguageIntegerValue(value);
    if (!v || *v < -22 || *v > 0)
        return std::nullopt;
    switch (CursorId(*v)) {
    case CursorId::Default: return Qt::ArrowCursor;
    case CursorId::None: return Qt::BlankCursor;
    case CursorId::Arrow: return Qt::ArrowCursor;
    case CursorId::Cross: return Qt::CrossCursor;
    case CursorId::IBeam: return Qt::IBeamCursor;
    case CursorId::SizeNESW: return Qt::SizeBDiagCursor;
    case CursorId::SizeNS: return Qt::SizeVerCursor;
    case CursorId::SizeNWSE: return Qt::SizeFDiagCursor;
    case CursorId::SizeWE: return Qt::SizeHorCursor;
    case CursorId::UpArrow: return Qt::UpArrowCursor;
    case CursorId::HourGlass: return Qt::WaitCursor;
    case CursorId::Drag: return Qt::DragMoveCursor;
    case CursorId::NoDrop: return Qt::ForbiddenCursor;
    case CursorId::HSplit: return Qt::SplitHCursor;
    case CursorId::VSplit: return Qt::SplitVCursor;
    case CursorId::MultiDrag: return Qt::DragCopyCursor;
    case CursorId::SQLWait: return Qt::WaitCursor;
    case CursorId::No: return Qt::ForbiddenCursor;
    case CursorId::AppStart: return Qt::BusyCursor;
    case CursorId::Help: return Qt::WhatsThisCursor;
    case CursorId::HandPoint: return Qt::PointingHandCursor;
    case CursorId::SizeAll: return Qt::SizeAllCursor;
    }
    return std::nullopt;   // -5: a number no cursor has
}

bool ApplyProperty(QObject* owner, const QString& path, const QString& value)
{
    if (!owner)
        return false;
    try {
        QStringList parts = path.split(u'.');
        const QString name = parts.takeLast();
        const auto target = resolve(owner, parts);
        if (!target)
            return false;
        switch (target->part) {
        case Target::Part::Object:
            return applyToObject(target->object, name, value);
        case Target::Part::Font:
            return setFontProperty(target->object, name, value);
        case Target::Part::Column:
            return setColumnProperty(target->object, target->column, name, value);
        }
    } catch (...) {
        // One entry that cannot be applied is skipped, whatever went wrong with it.
    }
    return false;
}

void InstallWidgetPropertyApplier()
{
    TMultiLanguage::SetApplier([](QObject* owner, const QString& path, const QString& value) {
        ApplyProperty(owner, path, value);
    });
}

} // namespace px
