#pragma once
// Reading the little-endian fields of one metafile record. Every read is checked against the
// record's end; a read past it yields zero and marks the reader as failed, so a record player
// reads all its fields first and then asks ok() once.
#include <QByteArray>
#include <QtEndian>

#include <cstdint>
#include <cstring>

namespace px::gdi {

class RecordBytes {
public:
    RecordBytes() = default;
    RecordBytes(const char* data, qint64 size) : data_(data), size_(size) {}

    qint64 size() const { return size_; }
    const char* data() const { return data_; }
    bool ok() const { return ok_; }
    void fail() { ok_ = false; }
    qint64 pos() const { return pos_; }
    void seek(qint64 pos)
    {
        if (pos < 0 || pos > size_) {
            ok_ = false;
            pos_ = size_;
        } else {
            pos_ = pos;
        }
    }
    void skip(qint64 n) { seek(pos_ + n); }
    qint64 remaining() const { return size_ - pos_; }
    bool has(qint64 n) const { return n >= 0 && n <= size_ - pos_; }

    quint8 u8() { return quint8(take(1)); }
    quint16 u16() { return quint16(take(2)); }
    qint16 s16() { return qint16(quint16(take(2))); }
    quint32 u32() { return quint32(take(4)); }
    qint32 s32() { return qint32(quint32(take(4))); }
    float f32()
    {
        const quint32 bits = u32();
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }

    // The bytes at [offset, offset + length) of the record, or an empty array (and failure)
    // when they do not lie inside it.
    QByteArray slice(qint64 offset, qint64 length)
    {
        if (offset < 0 || length < 0 || offset > size_ || length > size_ - offset) {
            ok_ = false;
            return {};
        }
        return QByteArray(data_ + offset, qsizetype(length));
    }

private:
    quint64 take(int n)
    {
        if (!has(n)) {
            ok_ = false;
            pos_ = size_;
            return 0;
        }
        quint64 v = 0;
        for (int i = n - 1; i >= 0; --i)
            v = (v << 8) | quint8(data_[pos_ + i]);
        pos_ += n;
        return v;
    }

    const char* data_ = nullptr;
    qint64 size_ = 0;
    qint64 pos_ = 0;
    bool ok_ = true;
};

} // namespace px::gdi
