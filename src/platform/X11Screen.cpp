#include "platform/X11Screen.h"

#include <xcb/randr.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace px {
namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using XcbPtr = std::unique_ptr<T, FreeDeleter>;

// Collects the reply of a request. An error (a window that vanished, a refused request) is
// dropped and yields a null reply, so the caller sees "nothing" instead of a dead program.
template <typename Cookie, typename Reply>
XcbPtr<Reply> take(xcb_connection_t* c,
                   Reply* (*fn)(xcb_connection_t*, Cookie, xcb_generic_error_t**), Cookie cookie)
{
    xcb_generic_error_t* err = nullptr;
    Reply* r = fn(c, cookie, &err);
    std::free(err);
    return XcbPtr<Reply>(r);
}

// xcb sizes the variable part of a reply from counts inside the reply, which a faulty
// server could set larger than what it sent; the reply holds 4 * length bytes after its
// 32-byte header. These give the part that is really there.
int propertyBytes(const xcb_get_property_reply_t* r)
{
    const std::size_t claimed = std::size_t(std::max(0, xcb_get_property_value_length(r)));
    return int(std::min(claimed, 4 * std::size_t(r->length)));
}

template <typename Reply>
std::size_t wordsAvailable(const Reply* r, std::size_t claimed)
{
    return std::min(claimed, std::size_t(r->length));
}

// Windows nest only a few levels deep; the cap guards against a server that lies.
constexpr int kMaxTreeDepth = 64;
// Window titles longer than this (in 32-bit units) are cut.
constexpr std::uint32_t kMaxTextLongs = 4096;

QString textFromProperty(const xcb_get_property_reply_t* r, xcb_atom_t utf8)
{
    const int len = propertyBytes(r);
    if (r->format != 8 || len <= 0)
        return QString();
    const char* data = static_cast<const char*>(xcb_get_property_value(r));
    const int n = int(::strnlen(data, std::size_t(len)));
    if (r->type == utf8)
        return QString::fromUtf8(data, n);
    return QString::fromLatin1(data, n);
}

} // namespace


struct X11Screen::Impl {
    xcb_connection_t* conn = nullptr;
    QString error;
    xcb_window_t root = 0;
    std::uint8_t rootDepth = 0;
    X11PixelLayout layout;
    int scanlinePad = 32;
    bool layoutKnown = false;

    bool randr = false;      // 1.3 or later: primary output
    bool xfixes = false;
    bool shmServer = false;  // the server offers MIT-SHM and can attach our segments
    bool shmEnabled = true;
    bool lastGrabShm = false;

    void* shmAddr = nullptr;
    xcb_shm_seg_t shmSeg = 0;
    std::size_t shmSize = 0;

    xcb_atom_t netActiveWindow = XCB_ATOM_NONE;
    xcb_atom_t netWmName = XCB_ATOM_NONE;
    xcb_atom_t utf8String = XCB_ATOM_NONE;
    xcb_atom_t wmState = XCB_ATOM_NONE;
    xcb_atom_t netClientList = XCB_ATOM_NONE;

    ~Impl()
    {
        releaseSegment();
        if (conn)
            xcb_disconnect(conn);
    }

    bool ok() const { return conn && !xcb_connection_has_error(conn); }

    void open(const QString& displayName);
    void readLayout(const xcb_setup_t* setup, const xcb_screen_t* screen);
    void queryExtensions();

    std::size_t strideFor(int width) const
    {
        const std::size_t bits = std::size_t(width) * std::size_t(layout.bitsPerPixel);
        const std::size_t pad = std::size_t(scanlinePad);
        return (bits + pad - 1) / pad * pad / 8;
    }
    bool ensureSegment(std::size_t size);
    void releaseSegment();
    bool grabShm(const QRect& part, QImage& out, const QPoint& at);
    bool grabPlain(const QRect& part, QImage& out, const QPoint& at);
    // The pixels of part, on the screen as a whole, in the reply buffer itself; null when the
    // server's layout is not QImage's.
    QImage grabPlainInPlace(const QRect& part);

    std::optional<QRect> rootGeometry();
    std::optional<QRect> crtcRect(xcb_randr_crtc_t crtc);

    std::optional<xcb_window_t> parentOf(xcb_window_t w);
    std::optional<xcb_window_t> topLevelOf(xcb_window_t w);
    std::optional<QRect> outerRectInRoot(xcb_window_t w);
    // nullopt: the window is gone; otherwise whether the property exists.
    std::optional<bool> hasProperty(xcb_window_t w, xcb_atom_t atom);
    std::optional<xcb_window_t> clientOf(xcb_window_t frame);
    std::optional<QString> text(xcb_window_t w, xcb_atom_t atom, xcb_atom_t type);
    std::optional<QString> windowClass(xcb_window_t w);
    std::optional<QString> title(xcb_window_t w);
};

void X11Screen::Impl::open(const QString& displayName)
{
    const QByteArray name = displayName.toLocal8Bit();
    int screenNum = 0;
    conn = xcb_connect(name.isEmpty() ? nullptr : name.constData(), &screenNum);
    if (!conn || xcb_connection_has_error(conn)) {
        const QByteArray shown = name.isEmpty() ? qgetenv("DISPLAY") : name;
        error = QStringLiteral("Cannot open the X display \"%1\"").arg(QString::fromLocal8Bit(shown));
        if (conn)
            xcb_disconnect(conn);
        conn = nullptr;
        return;
    }
    const xcb_setup_t* setup = xcb_get_setup(conn);
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(setup);
    for (int i = 0; i < screenNum && it.rem; ++i)
        xcb_screen_next(&it);
    if (!it.rem) {
        error = QStringLiteral("The X display has no screen %1").arg(screenNum);
        xcb_disconnect(conn);
        conn = nullptr;
        return;
    }
    root = it.data->root;
    rootDepth = it.data->root_depth;
    readLayout(setup, it.data);

    static const char* const names[] = {"_NET_ACTIVE_WINDOW", "_NET_WM_NAME", "UTF8_STRING",
                                        "WM_STATE", "_NET_CLIENT_LIST"};
    constexpr int count = int(std::size(names));
    xcb_intern_atom_cookie_t cookies[count];
    for (int i = 0; i < count; ++i)
        cookies[i] = xcb_intern_atom(conn, 0, std::uint16_t(std::strlen(names[i])), names[i]);
    xcb_atom_t* targets[] = {&netActiveWindow, &netWmName, &utf8String, &wmState, &netClientList};
    for (int i = 0; i < count; ++i) {
        if (auto r = take(conn, xcb_intern_atom_reply, cookies[i]))
            *targets[i] = r->atom;
    }
    queryExtensions();
}

void X11Screen::Impl::readLayout(const xcb_setup_t* setup, const xcb_screen_t* screen)
{
    bool formatFound = false;
    xcb_format_iterator_t f = xcb_setup_pixmap_formats_iterator(setup);
    for (; f.rem; xcb_format_next(&f)) {
        if (f.data->depth == screen->root_depth) {
            layout.bitsPerPixel = f.data->bits_per_pixel;
            scanlinePad = f.data->scanline_pad;
            formatFound = true;
            break;
        }
    }
    layout.msbFirst = setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
    if (!formatFound || scanlinePad <= 0 || scanlinePad % 8 != 0)
        return;

    xcb_depth_iterator_t d = xcb_screen_allowed_depths_iterator(screen);
    for (; d.rem; xcb_depth_next(&d)) {
        xcb_visualtype_iterator_t v = xcb_depth_visuals_iterator(d.data);
        for (; v.rem; xcb_visualtype_next(&v)) {
            if (v.data->visual_id != screen->root_visual)
                continue;
            const auto cls = v.data->_class;
            if (cls != XCB_VISUAL_CLASS_TRUE_COLOR && cls != XCB_VISUAL_CLASS_DIRECT_COLOR)
                return;
            layout.redMask = v.data->red_mask;
            layout.greenMask = v.data->green_mask;
            layout.blueMask = v.data->blue_mask;
            layoutKnown = true;
            return;
        }
    }
}

void X11Screen::Impl::queryExtensions()
{
    const xcb_query_extension_reply_t* shmExt = xcb_get_extension_data(conn, &xcb_shm_id);
    const xcb_query_extension_reply_t* fixesExt = xcb_get_extension_data(conn, &xcb_xfixes_id);
    const xcb_query_extension_reply_t* randrExt = xcb_get_extension_data(conn, &xcb_randr_id);

    if (shmExt && shmExt->present) {
        if (auto r = take(conn, xcb_shm_query_version_reply, xcb_shm_query_version(conn)))
            shmServer = true;
    }
    // XFixes and RandR answer newer requests only after the client said which version it speaks.
    if (fixesExt && fixesExt->present) {
        if (auto r = take(conn, xcb_xfixes_query_version_reply, xcb_xfixes_query_version(conn, 4, 0)))
            xfixes = r->major_version >= 1;
    }
    if (randrExt && randrExt->present) {
        if (auto r = take(conn, xcb_randr_query_version_reply, xcb_randr_query_version(conn, 1, 5)))
            randr = r->major_version > 1 || (r->major_version == 1 && r->minor_version >= 3);
    }
}

bool X11Screen::Impl::ensureSegment(std::size_t size)
{
    if (shmAddr && shmSize >= size)
        return true;
    releaseSegment();
    const int id = ::shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
    if (id < 0)
        return false;
    void* addr = ::shmat(id, nullptr, 0);
    if (addr == reinterpret_cast<void*>(-1)) {
        ::shmctl(id, IPC_RMID, nullptr);
        return false;
    }
    const xcb_shm_seg_t seg = xcb_generate_id(conn);
    xcb_generic_error_t* err = xcb_request_check(conn, xcb_shm_attach_checked(conn, seg, std::uint32_t(id), 0));
    // Marked for removal at once: the segment goes away when both sides have detached, even
    // if this program ends abnormally.
    ::shmctl(id, IPC_RMID, nullptr);
    if (err) {
        // A server on another machine (or in another IPC namespace) cannot see our memory.
        std::free(err);
        ::shmdt(addr);
        shmServer = false;
        return false;
    }
    shmAddr = addr;
    shmSeg = seg;
    shmSize = size;
    return true;
}

void X11Screen::Impl::releaseSegment()
{
    if (!shmAddr)
        return;
    if (ok()) {
        xcb_shm_detach(conn, shmSeg);
        xcb_flush(conn);
    }
    ::shmdt(shmAddr);
    shmAddr = nullptr;
    shmSeg = 0;
    shmSize = 0;
}

bool X11Screen::Impl::grabShm(const QRect& part, QImage& out, const QPoint& at)
{
    const std::size_t stride = strideFor(part.width());
    if (!ensureSegment(stride * std::size_t(part.height())))
        return false;
    auto r = take(conn, xcb_shm_get_image_reply,
                  xcb_shm_get_image(conn, root, std::int16_t(part.x()), std::int16_t(part.y()),
                                    std::uint16_t(part.width()), std::uint16_t(part.height()),
                                    ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP, shmSeg, 0));
    if (!r || r->depth != rootDepth)
        return false;
    return convertX11Pixels(static_cast<const std::uint8_t*>(shmAddr), int(stride), part.width(),
                            part.height(), layout, out, at);
}

bool X11Screen::Impl::grabPlain(const QRect& part, QImage& out, const QPoint& at)
{
    auto r = take(conn, xcb_get_image_reply,
                  xcb_get_image(conn, XCB_IMAGE_FORMAT_Z_PIXMAP, root, std::int16_t(part.x()),
                                std::int16_t(part.y()), std::uint16_t(part.width()),
                                std::uint16_t(part.height()), ~0u));
    if (!r || r->depth != rootDepth)
        return false;
    const std::size_t stride = strideFor(part.width());
    const int len = xcb_get_image_data_length(r.get());
    if (len < 0 || std::size_t(len) < stride * std::size_t(part.height()))
        return false;
    return convertX11Pixels(xcb_get_image_data(r.get()), int(stride), part.width(), part.height(),
                            layout, out, at);
}

QImage X11Screen::Impl::grabPlainInPlace(const QRect& part)
{
    if (!isQImageLayout(layout))
        return QImage();
    xcb_get_image_reply_t* r = take(conn, xcb_get_image_reply,
                                    xcb_get_image(conn, XCB_IMAGE_FORMAT_Z_PIXMAP, root, std::int16_t(part.x()),
                                                  std::int16_t(part.y()), std::uint16_t(part.width()),
                                                  std::uint16_t(part.height()), ~0u))
                                   .release();
    if (!r)
        return QImage();
    const std::size_t stride = strideFor(part.width());
    const int len = xcb_get_image_data_length(r);
    if (r->depth != rootDepth || len < 0 || std::size_t(len) < stride * std::size_t(part.height())) {
        std::free(r);
        return QImage();
    }
    std::uint8_t* data = xcb_get_image_data(r);
    // The unused top byte becomes opaque, as QImage::Format_RGB32 expects.
    for (int y = 0; y < part.height(); ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + std::size_t(y) * stride);
        for (int x = 0; x < part.width(); ++x)
            row[x] |= 0xff000000u;
    }
    return QImage(data, part.width(), part.height(), qsizetype(stride), QImage::Format_RGB32,
                  [](void* reply) { std::free(reply); }, r);
}

std::optional<QRect> X11Screen::Impl::rootGeometry()
{
    auto g = take(conn, xcb_get_geometry_reply, xcb_get_geometry(conn, root));
    if (!g)
        return std::nullopt;
    return QRect(0, 0, g->width, g->height);
}

std::optional<QRect> X11Screen::Impl::crtcRect(xcb_randr_crtc_t crtc)
{
    if (crtc == XCB_NONE)
        return std::nullopt;
    auto c = take(conn, xcb_randr_get_crtc_info_reply, xcb_randr_get_crtc_info(conn, crtc, XCB_CURRENT_TIME));
    if (!c || c->status != XCB_RANDR_SET_CONFIG_SUCCESS || c->width == 0 || c->height == 0)
        return std::nullopt;
    return QRect(c->x, c->y, c->width, c->height);
}

std::optional<xcb_window_t> X11Screen::Impl::parentOf(xcb_window_t w)
{
    auto t = take(conn, xcb_query_tree_reply, xcb_query_tree(conn, w));
    if (!t)
        return std::nullopt;
    return t->parent;
}

std::optional<xcb_window_t> X11Screen::Impl::topLevelOf(xcb_window_t w)
{
    if (w == root)
        return root;
    for (int depth = 0; depth < kMaxTreeDepth; ++depth) {
        const auto parent = parentOf(w);
        if (!parent || *parent == XCB_NONE)
            return std::nullopt;
        if (*parent == root)
            return w;
        w = *parent;
    }
    return std::nullopt;
}

std::optional<QRect> X11Screen::Impl::outerRectInRoot(xcb_window_t w)
{
    auto g = take(conn, xcb_get_geometry_reply, xcb_get_geometry(conn, w));
    if (!g)
        return std::nullopt;
    if (w == root)
        return QRect(0, 0, g->width, g->height);
    auto t = take(conn, xcb_translate_coordinates_reply, xcb_translate_coordinates(conn, w, root, 0, 0));
    if (!t)
        return std::nullopt;
    const int bw = g->border_width;
    return QRect(t->dst_x - bw, t->dst_y - bw, g->width + 2 * bw, g->height + 2 * bw);
}

std::optional<bool> X11Screen::Impl::hasProperty(xcb_window_t w, xcb_atom_t atom)
{
    if (atom == XCB_ATOM_NONE)
        return false;
    auto r = take(conn, xcb_get_property_reply,
                  xcb_get_property(conn, 0, w, atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 0));
    if (!r)
        return std::nullopt;
    return r->type != XCB_ATOM_NONE;
}

// The window manager's frame holds the application's window somewhere below it; the one that
// carries WM_STATE is the application's.
std::optional<xcb_window_t> X11Screen::Impl::clientOf(xcb_window_t frame)
{
    const auto own = hasProperty(frame, wmState);
    if (!own)
        return std::nullopt;
    if (*own)
        return frame;
    std::vector<xcb_window_t> level{frame};
    for (int depth = 0; depth < 8 && !level.empty(); ++depth) {
        std::vector<xcb_window_t> children;
        for (xcb_window_t w : level) {
            auto t = take(conn, xcb_query_tree_reply, xcb_query_tree(conn, w));
            if (!t)
                continue;
            const xcb_window_t* c = xcb_query_tree_children(t.get());
            children.insert(children.end(), c,
                            c + wordsAvailable(t.get(), std::size_t(std::max(0, xcb_query_tree_children_length(t.get())))));
        }
        std::vector<xcb_get_property_cookie_t> cookies;
        cookies.reserve(children.size());
        for (xcb_window_t c : children)
            cookies.push_back(xcb_get_property(conn, 0, c, wmState, XCB_GET_PROPERTY_TYPE_ANY, 0, 0));
        std::optional<xcb_window_t> found;
        for (std::size_t i = 0; i < children.size(); ++i) {
            auto r = take(conn, xcb_get_property_reply, cookies[i]);
            if (!found && r && r->type != XCB_ATOM_NONE)
                found = children[i];
        }
        if (found)
            return found;
        level = std::move(children);
    }
    return frame;
}

std::optional<QString> X11Screen::Impl::text(xcb_window_t w, xcb_atom_t atom, xcb_atom_t type)
{
    if (atom == XCB_ATOM_NONE)
        return QString();
    auto r = take(conn, xcb_get_property_reply, xcb_get_property(conn, 0, w, atom, type, 0, kMaxTextLongs));
    if (!r)
        return std::nullopt;
    return textFromProperty(r.get(), utf8String);
}

std::optional<QString> X11Screen::Impl::windowClass(xcb_window_t w)
{
    auto r = take(conn, xcb_get_property_reply,
                  xcb_get_property(conn, 0, w, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, kMaxTextLongs));
    if (!r)
        return std::nullopt;
    // "instance\0class\0": the class is the second string.
    const int len = propertyBytes(r.get());
    if (r->format != 8 || len <= 0)
        return QString();
    const char* data = static_cast<const char*>(xcb_get_property_value(r.get()));
    const std::size_t first = ::strnlen(data, std::size_t(len));
    if (first + 1 >= std::size_t(len))
        return QString();
    const char* cls = data + first + 1;
    return QString::fromLatin1(cls, int(::strnlen(cls, std::size_t(len) - first - 1)));
}

std::optional<QString> X11Screen::Impl::title(xcb_window_t w)
{
    auto net = text(w, netWmName, utf8String);
    if (!net)
        return std::nullopt;
    if (!net->isEmpty())
        return net;
    return text(w, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY);
}

X11Screen::X11Screen(const QString& displayName)
    : d(std::make_unique<Impl>())
{
    d->open(displayName);
    const QByteArray noShm = qgetenv("PIXMORA_NO_SHM");
    d->shmEnabled = noShm.isEmpty() || noShm == "0";
}

X11Screen::~X11Screen() = default;

bool X11Screen::isOpen() const { return d->conn != nullptr; }

QString X11Screen::openError() const { return d->error; }

void X11Screen::setSharedMemoryEnabled(bool enabled)
{
    d->shmEnabled = enabled;
    if (!enabled)
        d->releaseSegment();
}

bool X11Screen::lastGrabUsedSharedMemory() const { return d->lastGrabShm; }

QRect X11Screen::primaryGeometry()
{
    if (!d->ok())
        return QRect();
    const auto rootRect = d->rootGeometry();
    if (!rootRect)
        return QRect();
    if (d->randr) {
        auto primary = take(d->conn, xcb_randr_get_output_primary_reply,
                            xcb_randr_get_output_primary(d->conn, d->root));
        if (primary && primary->output != XCB_NONE) {
            auto out = take(d->conn, xcb_randr_get_output_info_reply,
                            xcb_randr_get_output_info(d->conn, primary->output, XCB_CURRENT_TIME));
            if (out) {
                if (auto r = d->crtcRect(out->crtc))
                    return r->intersected(*rootRect);
            }
        }
        // No primary output set: the monitor at the origin plays its part.
        auto res = take(d->conn, xcb_randr_get_screen_resources_current_reply,
                        xcb_randr_get_screen_resources_current(d->conn, d->root));
        if (res) {
            const xcb_randr_crtc_t* crtcs = xcb_randr_get_screen_resources_current_crtcs(res.get());
            const int n = int(wordsAvailable(
                res.get(), std::size_t(std::max(0, xcb_randr_get_screen_resources_current_crtcs_length(res.get())))));
            for (int i = 0; i < n; ++i) {
                const auto r = d->crtcRect(crtcs[i]);
                if (r && r->topLeft() == QPoint(0, 0))
                    return r->intersected(*rootRect);
            }
        }
    }
    return *rootRect;
}

QImage X11Screen::grab(const QRect& rect)
{
    d->lastGrabShm = false;
    if (!d->ok() || !d->layoutKnown || rect.width() <= 0 || rect.height() <= 0)
        return QImage();
    const auto rootRect = d->rootGeometry();
    if (!rootRect)
        return QImage();
    const QRect part = rect.intersected(*rootRect);
    if (part == rect && !(d->shmEnabled && d->shmServer)) {
        // The whole rectangle lies on the screen: the reply's pixels become the picture
        // without another copy (a fresh 8 MB buffer costs more than the copy itself).
        if (QImage direct = d->grabPlainInPlace(part); !direct.isNull())
            return direct;
    }
    QImage out(rect.size(), QImage::Format_RGB32);
    if (out.isNull())
        return QImage();
    if (part != rect)
        out.fill(Qt::black);
    if (part.isEmpty())
        return out;
    const QPoint at = part.topLeft() - rect.topLeft();
    if (d->shmEnabled && d->shmServer && d->grabShm(part, out, at)) {
        d->lastGrabShm = true;
        return out;
    }
    if (d->grabPlain(part, out, at))
        return out;
    return QImage();
}

QPoint X11Screen::cursorPos()
{
    if (!d->ok())
        return QPoint();
    auto r = take(d->conn, xcb_query_pointer_reply, xcb_query_pointer(d->conn, d->root));
    if (!r)
        return QPoint();
    return QPoint(r->root_x, r->root_y);
}

CursorImage X11Screen::cursorImage()
{
    CursorImage result;
    if (!d->ok() || !d->xfixes)
        return result;
    auto r = take(d->conn, xcb_xfixes_get_cursor_image_reply, xcb_xfixes_get_cursor_image(d->conn));
    if (!r || r->width == 0 || r->height == 0)
        return result;
    const int w = r->width;
    const int h = r->height;
    // One 32-bit word a pixel, all of them inside the reply.
    if (std::size_t(w) * std::size_t(h) > std::size_t(r->length))
        return result;
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    if (img.isNull())
        return result;
    // XFixes hands out premultiplied 0xAARRGGBB words, QImage's own layout for this format.
    const std::uint32_t* px = xcb_xfixes_get_cursor_image_cursor_image(r.get());
    for (int y = 0; y < h; ++y)
        std::memcpy(img.scanLine(y), px + std::size_t(y) * std::size_t(w), std::size_t(w) * 4);
    result.image = img;
    result.hotSpot = QPoint(r->xhot, r->yhot);
    return result;
}

std::optional<WindowInfo> X11Screen::foregroundWindow()
{
    if (!d->ok())
        return std::nullopt;
    xcb_window_t active = XCB_NONE;
    auto r = take(d->conn, xcb_get_property_reply,
                  xcb_get_property(d->conn, 0, d->root, d->netActiveWindow, XCB_ATOM_WINDOW, 0, 1));
    if (r && r->type == XCB_ATOM_WINDOW && r->format == 32 && propertyBytes(r.get()) >= 4) {
        std::memcpy(&active, xcb_get_property_value(r.get()), 4);
    } else {
        // No window manager that names the active window: the window with the input focus
        // stands in.
        auto f = take(d->conn, xcb_get_input_focus_reply, xcb_get_input_focus(d->conn));
        if (f && f->focus != XCB_NONE && f->focus != XCB_INPUT_FOCUS_POINTER_ROOT && f->focus != d->root)
            active = f->focus;
    }
    if (active == XCB_NONE || active == d->root)
        return std::nullopt;
    return windowInfo(active);
}

WindowId X11Screen::windowAt(const QPoint& p)
{
    if (!d->ok())
        return 0;
    const auto rootRect = d->rootGeometry();
    if (!rootRect || !rootRect->contains(p))
        return 0;
    xcb_window_t current = d->root;
    for (int depth = 0; depth < kMaxTreeDepth; ++depth) {
        auto t = take(d->conn, xcb_translate_coordinates_reply,
                      xcb_translate_coordinates(d->conn, d->root, current, std::int16_t(p.x()),
                                                std::int16_t(p.y())));
        if (!t || !t->same_screen)
            return 0;
        if (t->child == XCB_NONE)
            return current;
        current = t->child;
    }
    return current;
}

std::optional<WindowInfo> X11Screen::windowInfo(WindowId id)
{
    if (!d->ok() || id == XCB_NONE)
        return std::nullopt;
    const xcb_window_t w = id;
    const auto top = d->topLevelOf(w);
    if (!top)
        return std::nullopt;

    // The frame of a top-level window is the window manager's frame around it; a window
    // inside an application's window is just its own rectangle.
    std::optional<xcb_window_t> named;
    xcb_window_t framed = w;
    if (w == d->root) {
        named = w;
    } else if (w == *top) {
        named = d->clientOf(w);
    } else {
        const auto isClient = d->hasProperty(w, d->wmState);
        if (!isClient)
            return std::nullopt;
        named = w;
        if (*isClient)
            framed = *top;
    }
    if (!named)
        return std::nullopt;

    const auto frame = d->outerRectInRoot(framed);
    const auto cls = d->windowClass(*named);
    const auto title = d->title(*named);
    if (!frame || !cls || !title)
        return std::nullopt;
    WindowInfo info;
    info.id = id;
    info.frame = *frame;
    info.className = *cls;
    info.title = *title;
    return info;
}

WindowId X11Screen::findTopLevelWindow(const QString& className, const QString& title)
{
    if (!d->ok() || d->netClientList == XCB_ATOM_NONE)
        return 0;
    // The window manager's list of managed windows; a window that vanished while we look is
    // skipped.
    constexpr std::uint32_t kMaxWindows = 4096;
    auto r = take(d->conn, xcb_get_property_reply,
                  xcb_get_property(d->conn, 0, d->root, d->netClientList, XCB_ATOM_WINDOW, 0, kMaxWindows));
    if (!r || r->format != 32)
        return 0;
    const auto* ids = static_cast<const xcb_window_t*>(xcb_get_property_value(r.get()));
    const int n = propertyBytes(r.get()) / 4;
    for (int i = 0; i < n; ++i) {
        if (d->windowClass(ids[i]) == className && d->title(ids[i]) == title)
            return ids[i];
    }
    return 0;
}

bool X11Screen::activateWindow(WindowId id)
{
    if (!d->ok() || id == XCB_NONE || d->netActiveWindow == XCB_ATOM_NONE)
        return false;
    // The window manager is asked, as a pager asks (source 2): it raises and focuses.
    xcb_client_message_event_t ev{};
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = id;
    ev.type = d->netActiveWindow;
    ev.data.data32[0] = 2;
    ev.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(d->conn, 0, d->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&ev));
    xcb_flush(d->conn);
    return true;
}

void X11Screen::flush()
{
    if (!d->ok())
        return;
    xcb_flush(d->conn);
    // A round trip: once the answer is here, the server has handled everything sent before.
    take(d->conn, xcb_get_input_focus_reply, xcb_get_input_focus(d->conn));
}

} // namespace px
