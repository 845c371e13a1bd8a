#include "XTestEnv.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <xcb/xcb.h>

#include <bit>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace px::xtest {
namespace {

template <typename T>
struct Reply {
    T* p = nullptr;
    explicit Reply(T* r) : p(r) {}
    ~Reply() { std::free(p); }
    Reply(const Reply&) = delete;
    Reply& operator=(const Reply&) = delete;
    T* operator->() const { return p; }
    explicit operator bool() const { return p != nullptr; }
};

template <typename Cookie, typename R>
R* replyOf(xcb_connection_t* c, R* (*fn)(xcb_connection_t*, Cookie, xcb_generic_error_t**), Cookie k)
{
    xcb_generic_error_t* e = nullptr;
    R* r = fn(c, k, &e);
    std::free(e);
    return r;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    Reply<xcb_intern_atom_reply_t> r(
        replyOf(c, xcb_intern_atom_reply, xcb_intern_atom(c, 0, std::uint16_t(std::strlen(name)), name)));
    return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
}

void roundTrip(xcb_connection_t* c)
{
    std::free(replyOf(c, xcb_get_input_focus_reply, xcb_get_input_focus(c)));
}

QString readEnvFile(QByteArray* text)
{
    const QByteArray path = qgetenv("PIXMORA_X_ENV");
    if (path.isEmpty())
        return QStringLiteral("PIXMORA_X_ENV is not set (the test needs the xserver fixture)");
    QFile f(QString::fromLocal8Bit(path));
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read %1").arg(f.fileName());
    *text = f.readAll();
    return QString();
}

} // namespace

QString fixtureValue(const QString& key)
{
    QByteArray text;
    if (!readEnvFile(&text).isEmpty())
        return QString();
    const QByteArray prefix = key.toUtf8() + '=';
    for (const QByteArray& line : text.split('\n')) {
        if (line.startsWith(prefix))
            return QString::fromUtf8(line.mid(prefix.size())).trimmed();
    }
    return QString();
}

QString useTestDisplay()
{
    QByteArray text;
    const QString err = readEnvFile(&text);
    if (!err.isEmpty())
        return err;
    const QString display = fixtureValue(QStringLiteral("DISPLAY"));
    if (display.isEmpty())
        return QStringLiteral("the fixture's environment file names no DISPLAY");
    qputenv("DISPLAY", display.toLocal8Bit());
    return QString();
}

QRgb patternPixel(int x, int y)
{
    return qRgb(x & 255, y & 255, ((x >> 8) & 15) | (((y >> 8) & 15) << 4));
}

QImage patternImage(const QRect& r)
{
    QImage img(r.size(), QImage::Format_RGB32);
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x)
            img.setPixel(x, y, patternPixel(r.x() + x, r.y() + y));
    return img;
}

PatternMismatch comparePattern(const QImage& img, const QPoint& origin, const QRect& patternArea)
{
    PatternMismatch m;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QPoint screen = origin + QPoint(x, y);
            const QRgb want = patternArea.contains(screen) ? patternPixel(screen.x(), screen.y())
                                                           : qRgb(0, 0, 0);
            const QRgb got = img.pixel(x, y);
            if ((got & 0xffffff) != (want & 0xffffff)) {
                if (m.count == 0) {
                    m.first = QPoint(x, y);
                    m.got = got;
                    m.want = want;
                }
                ++m.count;
            }
        }
    }
    return m;
}

struct PatternWindow::Connection {
    xcb_connection_t* conn = nullptr;
    ~Connection()
    {
        if (conn)
            xcb_disconnect(conn);
    }
};

PatternWindow::PatternWindow(const QRect& area)
    : c_(std::make_unique<Connection>())
{
    c_->conn = xcb_connect(nullptr, nullptr);
    xcb_connection_t* c = c_->conn;
    if (xcb_connection_has_error(c)) {
        error_ = QStringLiteral("cannot connect to the X server");
        return;
    }
    const xcb_setup_t* setup = xcb_get_setup(c);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(setup).data;
    int bpp = 0;
    for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem; xcb_format_next(&f)) {
        if (f.data->depth == screen->root_depth)
            bpp = f.data->bits_per_pixel;
    }
    if (screen->root_depth != 24 || bpp != 32 || setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST) {
        error_ = QStringLiteral("the test picture needs a 24-bit screen with 32-bit pixels");
        return;
    }
    const int w = area.width();
    const int h = area.height();
    const xcb_pixmap_t pixmap = xcb_generate_id(c);
    xcb_create_pixmap(c, screen->root_depth, pixmap, screen->root, std::uint16_t(w), std::uint16_t(h));
    const xcb_gcontext_t gc = xcb_generate_id(c);
    xcb_create_gc(c, gc, pixmap, 0, nullptr);

    // Sent in bands that fit into one request.
    const std::size_t maxBytes = std::size_t(xcb_get_maximum_request_length(c)) * 4 - 64;
    const int bandRows = std::max(1, int(maxBytes / (std::size_t(w) * 4)));
    std::vector<std::uint32_t> band;
    for (int y0 = 0; y0 < h; y0 += bandRows) {
        const int rows = std::min(bandRows, h - y0);
        band.resize(std::size_t(rows) * std::size_t(w));
        for (int y = 0; y < rows; ++y) {
            for (int x = 0; x < w; ++x)
                band[std::size_t(y) * std::size_t(w) + std::size_t(x)]
                    = patternPixel(area.x() + x, area.y() + y0 + y) & 0xffffff;
        }
        xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc, std::uint16_t(w), std::uint16_t(rows), 0,
                      std::int16_t(y0), 0, screen->root_depth, std::uint32_t(band.size() * 4),
                      reinterpret_cast<const std::uint8_t*>(band.data()));
    }

    window_ = xcb_generate_id(c);
    const std::uint32_t values[] = {pixmap, 1};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window_, screen->root, std::int16_t(area.x()),
                      std::int16_t(area.y()), std::uint16_t(w), std::uint16_t(h), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                      XCB_CW_BACK_PIXMAP | XCB_CW_OVERRIDE_REDIRECT, values);
    xcb_map_window(c, window_);
    const std::uint32_t above[] = {XCB_STACK_MODE_ABOVE};
    xcb_configure_window(c, window_, XCB_CONFIG_WINDOW_STACK_MODE, above);
    xcb_free_gc(c, gc);
    xcb_free_pixmap(c, pixmap);
    roundTrip(c);

    Reply<xcb_get_window_attributes_reply_t> attr(
        replyOf(c, xcb_get_window_attributes_reply, xcb_get_window_attributes(c, window_)));
    if (!attr || attr->map_state != XCB_MAP_STATE_VIEWABLE)
        error_ = QStringLiteral("the test picture window did not appear");
}

PatternWindow::~PatternWindow()
{
    if (c_->conn && window_ && !xcb_connection_has_error(c_->conn)) {
        xcb_destroy_window(c_->conn, window_);
        roundTrip(c_->conn);
    }
}

struct ManagedWindow::Connection {
    xcb_connection_t* conn = nullptr;
    xcb_window_t root = 0;
    ~Connection()
    {
        if (conn)
            xcb_disconnect(conn);
    }
};

ManagedWindow::ManagedWindow(const QRect& rect, const QString& instanceName, const QString& className,
                             const QString& title)
    : c_(std::make_unique<Connection>())
{
    c_->conn = xcb_connect(nullptr, nullptr);
    xcb_connection_t* c = c_->conn;
    if (xcb_connection_has_error(c)) {
        error_ = QStringLiteral("cannot connect to the X server");
        return;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    c_->root = screen->root;
    window_ = xcb_generate_id(c);
    const std::uint32_t values[] = {0x808080};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window_, screen->root, std::int16_t(rect.x()),
                      std::int16_t(rect.y()), std::uint16_t(rect.width()), std::uint16_t(rect.height()), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, XCB_CW_BACK_PIXEL, values);

    const QByteArray cls = instanceName.toLatin1() + '\0' + className.toLatin1() + '\0';
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window_, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                        std::uint32_t(cls.size()), cls.constData());
    const QByteArray latin = title.toLatin1();
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window_, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        std::uint32_t(latin.size()), latin.constData());
    const QByteArray utf8 = title.toUtf8();
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window_, atom(c, "_NET_WM_NAME"), atom(c, "UTF8_STRING"),
                        8, std::uint32_t(utf8.size()), utf8.constData());
    xcb_map_window(c, window_);
    roundTrip(c);
}

ManagedWindow::~ManagedWindow() { destroy(); }

void ManagedWindow::destroy()
{
    if (c_->conn && window_ && !xcb_connection_has_error(c_->conn)) {
        xcb_destroy_window(c_->conn, window_);
        roundTrip(c_->conn);
    }
    window_ = 0;
}

bool ManagedWindow::frameExtents(int& left, int& right, int& top, int& bottom)
{
    xcb_connection_t* c = c_->conn;
    Reply<xcb_get_property_reply_t> r(replyOf(
        c, xcb_get_property_reply,
        xcb_get_property(c, 0, window_, atom(c, "_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL, 0, 4)));
    if (!r || r->format != 32 || xcb_get_property_value_length(r.p) != 16)
        return false;
    std::uint32_t v[4];
    std::memcpy(v, xcb_get_property_value(r.p), sizeof v);
    left = int(v[0]);
    right = int(v[1]);
    top = int(v[2]);
    bottom = int(v[3]);
    return true;
}

bool ManagedWindow::waitUntilFramed(int timeoutMs)
{
    xcb_connection_t* c = c_->conn;
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        Reply<xcb_query_tree_reply_t> tree(replyOf(c, xcb_query_tree_reply, xcb_query_tree(c, window_)));
        int l, r, t, b;
        if (tree && tree->parent != c_->root && frameExtents(l, r, t, b)) {
            Reply<xcb_get_window_attributes_reply_t> attr(
                replyOf(c, xcb_get_window_attributes_reply, xcb_get_window_attributes(c, window_)));
            if (attr && attr->map_state == XCB_MAP_STATE_VIEWABLE)
                return true;
        }
        QThread::msleep(10);
    }
    return false;
}

QRect ManagedWindow::clientRect()
{
    xcb_connection_t* c = c_->conn;
    Reply<xcb_get_geometry_reply_t> g(replyOf(c, xcb_get_geometry_reply, xcb_get_geometry(c, window_)));
    Reply<xcb_translate_coordinates_reply_t> t(replyOf(
        c, xcb_translate_coordinates_reply, xcb_translate_coordinates(c, window_, c_->root, 0, 0)));
    if (!g || !t)
        return QRect();
    return QRect(t->dst_x, t->dst_y, g->width, g->height);
}

RunResult run(const QString& program, const QStringList& args, int timeoutMs)
{
    RunResult result;
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(timeoutMs))
        return result;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return result;
    }
    result.out = p.readAllStandardOutput();
    result.err = p.readAllStandardError();
    result.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return result;
}

QImage decodeXwd(const QByteArray& data)
{
    constexpr int kHeaderWords = 25;
    if (data.size() < kHeaderWords * 4)
        return QImage();
    const auto* b = reinterpret_cast<const unsigned char*>(data.constData());
    auto word = [b](int i) {
        return (std::uint32_t(b[i * 4]) << 24) | (std::uint32_t(b[i * 4 + 1]) << 16)
            | (std::uint32_t(b[i * 4 + 2]) << 8) | std::uint32_t(b[i * 4 + 3]);
    };
    const std::uint32_t headerSize = word(0), version = word(1), format = word(2);
    const std::uint32_t width = word(4), height = word(5), byteOrder = word(7);
    const std::uint32_t bpp = word(11), bytesPerLine = word(12);
    const std::uint32_t masks[3] = {word(14), word(15), word(16)};
    const std::uint32_t ncolors = word(19);
    if (version != 7 || format != 2 || (bpp != 24 && bpp != 32) || width == 0 || height == 0
        || width > 16384 || height > 16384 || bytesPerLine < width * (bpp / 8) || ncolors > 65536)
        return QImage();
    const std::uint64_t start = std::uint64_t(headerSize) + std::uint64_t(ncolors) * 12;
    if (start + std::uint64_t(bytesPerLine) * height > std::uint64_t(data.size()))
        return QImage();
    int shifts[3];
    for (int i = 0; i < 3; ++i) {
        if (masks[i] == 0 || std::popcount(masks[i]) != 8)
            return QImage();
        shifts[i] = std::countr_zero(masks[i]);
    }
    QImage img(int(width), int(height), QImage::Format_RGB32);
    const int bytes = int(bpp / 8);
    for (std::uint32_t y = 0; y < height; ++y) {
        const unsigned char* row = b + start + std::uint64_t(y) * bytesPerLine;
        for (std::uint32_t x = 0; x < width; ++x) {
            const unsigned char* p = row + x * std::uint32_t(bytes);
            std::uint32_t v = 0;
            for (int k = 0; k < bytes; ++k) {
                const int index = byteOrder == 0 ? bytes - 1 - k : k; // 0: least significant first
                v = (v << 8) | p[index];
            }
            img.setPixel(int(x), int(y),
                         qRgb(int((v & masks[0]) >> shifts[0]), int((v & masks[1]) >> shifts[1]),
                              int((v & masks[2]) >> shifts[2])));
        }
    }
    return img;
}

} // namespace px::xtest
