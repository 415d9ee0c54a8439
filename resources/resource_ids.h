// Ids of the byte blocks and pictures carried in the executable. Shared by
// the resource script and the code, so it stays free of windows.h.
#pragma once
#define IDR_BANNER_JPEG 101
#define IDR_SKIN_ENGINE 201
#define IDR_SKIN_2008 202
#define IDR_SKIN_2009 203
// The application icon is the named resource "DEFAULT_ICON".
