#pragma once
// Message texts by key ("showmsg_...", "msgdlg_...", "statbar_..."). Until the language file
// is read, the keys the start-up, exit and capture commands use answer with their German
// text; any other key yields an empty text, as an unknown key does in the language file.
#include <QString>

namespace px {

QString MessageText(const QString& key);

} // namespace px
