#include "app/DisplaySync.h"

#include <QGuiApplication>

#include <cstdlib>
#include <xcb/xcb.h>

namespace px {

void syncQtDisplay()
{
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return;
    xcb_connection_t* c = x11->connection();
    // Any request with a reply is a round trip: the server has processed everything before it.
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

} // namespace px
