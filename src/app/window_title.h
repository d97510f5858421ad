// The window title as UTF-8 on the X window of the current GL context.
#pragma once

// Sets WM_NAME and WM_ICON_NAME (in the locale's text encoding) and
// _NET_WM_NAME and _NET_WM_ICON_NAME (UTF8_STRING) to the given UTF-8 title.
void setUtf8WindowTitle(const char* utf8Title);
