// The platform layer as the framework sees it: one header for all of it.
// Three layers, each built only on those below it:
//   draw/      surfaces, the rasteriser, text, pictures, colours and the
//              backends that show the frame (SDL2 on the desktop, headless
//              in memory); system/ beside it: clock, clipboard, process,
//              directories
//   windows/   the window system: windows, messages, input routing,
//              regions, menus and dialog keys
//   controls/  the native-style controls and the message box
#pragma once

#include "framework/platform/controls/control_window.h"
#include "framework/platform/controls/drop_down_list.h"
#include "framework/platform/controls/edit_field.h"
#include "framework/platform/controls/list_box.h"
#include "framework/platform/controls/message_box.h"
#include "framework/platform/controls/modal_loop.h"
#include "framework/platform/controls/push_button.h"
#include "framework/platform/controls/scroll_bar.h"
#include "framework/platform/controls/static_text.h"
#include "framework/platform/draw/bitmaps.h"
#include "framework/platform/draw/display.h"
#include "framework/platform/draw/draw_port.h"
#include "framework/platform/draw/frame.h"
#include "framework/platform/draw/palette.h"
#include "framework/platform/draw/picture_copy.h"
#include "framework/platform/draw/pictures.h"
#include "framework/platform/draw/pixel_buffer.h"
#include "framework/platform/draw/system_colours.h"
#include "framework/platform/draw/text.h"
#include "framework/platform/system/clipboard.h"
#include "framework/platform/system/clock.h"
#include "framework/platform/system/directories.h"
#include "framework/platform/system/process.h"
#include "framework/platform/windows/dialog_keys.h"
#include "framework/platform/windows/menus.h"
#include "framework/platform/windows/messages.h"
#include "framework/platform/windows/window.h"
