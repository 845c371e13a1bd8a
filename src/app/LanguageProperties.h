#pragma once
// Applies language-file entries (Component.Sub.Property = value) to a window's Qt objects.
// The property names of the language file (Caption, Hint, Font.Color, Items, ...) are mapped
// onto what Qt calls them for each kind of object; any other name reaches a Qt property of
// that name when the object has one.
#include <QColor>
#include <QPalette>
#include <QString>
#include <optional>

class QObject;

namespace px {

// Makes every TMultiLanguage apply its entries through ApplyProperty.
void InstallWidgetPropertyApplier();

// Applies one entry to owner. The parts of path before the last dot name components among
// owner's descendants by object name (or the sub-objects Font and Columns[n]); a bare name
// is a property of owner itself. True when the value was applied; false when the path names
// nothing or the value does not convert, leaving everything unchanged. Never throws.
bool ApplyProperty(QObject* owner, const QString& path, const QString& value);

// Sets the tool tip and status-bar text of an action, widget or tray icon from a hint of the
// form "short|long" (without "|" both get the whole text). False for other objects.
bool SetHint(QObject* target, const QString& hint);

// A colour value of the language file in palette terms. System colours (clBtnFace, ...) come
// from palette; clNone and clDefault give an invalid QColor ("the control's own colour").
// nullopt when the value is no colour.
std::optional<QColor> LanguageColor(const QString& value, const QPalette& palette);

// A cursor value (crHandPoint, or the program's cursor number). nullopt when it is none.
std::optional<Qt::CursorShape> LanguageCursor(const QString& value);

} // namespace px
