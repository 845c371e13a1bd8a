#pragma once

namespace px {

// Sends the requests Qt's own X connection has queued (a window just hidden, say) and waits
// until the server has handled them. Without it, a grab that follows a hide can still show the
// window. Does nothing on platforms without an X connection.
void syncQtDisplay();

} // namespace px
