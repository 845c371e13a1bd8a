#pragma once
// A small INI reader/writer with the rules of Windows' profile functions: sections and keys
// are compared without regard to case, the first of duplicate sections/keys wins, values are
// taken as they stand (no escapes, commas are plain text, surrounding blanks trimmed, one
// pair of surrounding double quotes removed), lines starting with ';' are comments and lines
// that are neither a section nor key=value are ignored. Missing file = empty.
// Text is read as UTF-8, or as Windows-1252 when it is not valid UTF-8. Written values that would
// not read back as written (surrounding blanks or quotes) are enclosed in quotes; line breaks
// in names and values are written as blanks since they would start a new line.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace px {

class IniFile {
public:
    IniFile() = default;
    static IniFile fromText(const QByteArray& text);  // bounded: lines past 1 MiB of input are ignored
    static IniFile load(const QString& path);

    QString readString(const QString& section, const QString& key, const QString& def = {}) const;
    bool hasKey(const QString& section, const QString& key) const;
    bool hasSection(const QString& section) const;
    QStringList sections() const;
    QStringList keys(const QString& section) const;   // in file order

    void writeString(const QString& section, const QString& key, const QString& value);
    bool deleteKey(const QString& section, const QString& key);
    QByteArray toText() const;
    bool save(const QString& path, QString* error = nullptr) const;  // atomic

private:
    // Comment and other lines that are not key=value are kept (raw, text in value) so that
    // saving a hand-edited file does not lose them.
    struct Entry { QString key; QString value; bool raw = false; };
    struct Section { QString name; std::vector<Entry> entries; };
    QStringList preamble_;            // lines before the first section
    std::vector<Section> sections_;   // a later duplicate of a section is kept but never read
    Section* findSection(const QString& name);
    const Section* findSection(const QString& name) const;
};

} // namespace px
