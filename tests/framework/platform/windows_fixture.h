// A headless frame with the window classes registered, windows that log
// their messages and paint themselves in a colour of their own, and a pump
// that runs the queue dry as the event loop would.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "framework/platform/draw/frame.h"
#include "framework/platform/draw/headless.h"
#include "framework/platform/windows/dialog_keys.h"
#include "framework/platform/windows/messages.h"
#include "framework/platform/windows/window.h"
#include "framework/platform/windows/window_paint.h"

struct PaintRecord {
    JWnd window = kNoWindow;
    std::vector<JRect> region;
};

struct WindowLog {
    std::vector<JMessage> messages;
    std::vector<PaintRecord> paints;
    std::map<JWnd, std::uint32_t> colours;  // each window paints itself in one colour
    std::map<JWnd, std::uint32_t> dialogCodes;
    JWnd captureOnPress = kNoWindow;  // sets the capture when it is pressed

    int Count(JWnd window, JMsg type) const {
        int count = 0;
        for (const JMessage& m : messages) {
            count += m.window == window && m.type == type ? 1 : 0;
        }
        return count;
    }
    const JMessage* Last(JWnd window, JMsg type) const {
        for (auto it = messages.rbegin(); it != messages.rend(); ++it) {
            if (it->window == window && it->type == type) {
                return &*it;
            }
        }
        return nullptr;
    }
};

inline WindowLog& Log() {
    static WindowLog log;
    return log;
}

inline JResult LoggingProc(JWnd window, const JMessage& message) {
    WindowLog& log = Log();
    log.messages.push_back(message);
    switch (message.type) {
        case JMsg::Paint: {
            JPaintInfo paint;
            JBeginPaint(window, &paint);
            auto colour = log.colours.find(window);
            if (colour != log.colours.end()) {
                JSetForeColour(JColourFromRgb(colour->second));
                const JRect client = JWindowClientRect(window);
                JFillRect(client.left, client.top, client.right, client.bottom);
            }
            log.paints.push_back(PaintRecord{window, paint.region});
            JEndPaint(window, paint);
            return 0;
        }
        case JMsg::GetDialogCode:
            return log.dialogCodes.count(window) != 0 ? log.dialogCodes[window] : 0;
        case JMsg::MouseDown:
            if (log.captureOnPress == window) {
                JSetCapture(window);
            }
            return 0;
        case JMsg::MouseUp:
            if (JCaptureWindow() == window) {
                JReleaseCapture();
            }
            return 0;
        default:
            return JDefWindowProc(window, message);
    }
}

class HeadlessWindows : public testing::Test {
protected:
    static constexpr int kFrameWidth = 640;
    static constexpr int kFrameHeight = 480;
    static constexpr std::uint32_t kWorkspace = 0x808080;

    void SetUp() override {
        Log() = WindowLog{};
        ASSERT_TRUE(JBackendStart(JBackendChoice::Headless));
        JDrawingStartup();
        JSelectPenState(JPenStateNew());
        JWindowClass main;
        main.name = "JMainWindow";
        main.proc = LoggingProc;
        main.background = JColourFromRgb(kWorkspace);
        ASSERT_TRUE(JRegisterClass(main));
        JWindowClass child;
        child.name = "JChildWindow";
        child.proc = LoggingProc;
        ASSERT_TRUE(JRegisterClass(child));
        JWindowSpec spec;
        spec.className = "JMainWindow";
        spec.title = "frame";
        spec.style = kWsFrame | kWsSizing;
        spec.bounds = JRect{0, 0, kFrameWidth, kFrameHeight};
        frame = JCreateWindow(spec);
        ASSERT_NE(frame, kNoWindow);
        JShowWindow(frame);
        Pump();
    }
    void TearDown() override {
        JDestroyAllWindows();
        JDrawingShutdown();
        JBackendStop();
    }

    JWnd MakeWindow(const char* title, JRect bounds, std::uint32_t style, std::uint32_t colour,
                    bool show = true) {
        JWindowSpec spec;
        spec.className = "JChildWindow";
        spec.title = title;
        spec.style = style;
        spec.bounds = bounds;
        const JWnd window = JCreateWindow(spec);
        Log().colours[window] = colour;
        if (show) {
            JShowWindow(window);
        }
        return window;
    }

    // A shown document window of a class made for one test.
    static JWnd MakeWindowOfClass(const char* className, JWindowProc proc) {
        JWindowClass windowClass;
        windowClass.name = className;
        windowClass.proc = proc;
        JRegisterClass(windowClass);
        JWindowSpec spec;
        spec.className = className;
        spec.style = kWsDocument;
        spec.bounds = JRect{20, 20, 120, 120};
        const JWnd window = JCreateWindow(spec);
        JShowWindow(window);
        return window;
    }

    JWnd MakeChild(JWnd parent, JRect bounds, int id, std::uint32_t style, std::uint32_t colour) {
        JWindowSpec spec;
        spec.className = "JChildWindow";
        spec.style = kWsChild | style;
        spec.bounds = bounds;
        spec.parent = parent;
        spec.id = id;
        const JWnd child = JCreateWindow(spec);
        Log().colours[child] = colour;
        JShowWindow(child);
        return child;
    }

    // Runs the queue dry; dialog keys go through the dialog first.
    static void Pump(JWnd dialog = kNoWindow) {
        JMessage message;
        while (JPeekMessage(&message, kNoWindow, kPeekRemove)) {
            if (dialog != kNoWindow && JIsDialogMessage(dialog, message)) {
                continue;
            }
            JTranslateMessage(message);
            JDispatchMessage(message);
        }
    }

    // A point in a window's caption, in frame coordinates.
    static JPoint CaptionPoint(JWnd window) {
        const JRect bounds = JWindowBounds(window);
        const JPoint origin = JClientToFrame(JFrameWindow(), JPoint{bounds.left, bounds.top});
        return JPoint{origin.x + bounds.Width() / 2, origin.y + 10};
    }

    static std::uint32_t Shown(int x, int y) { return JHeadlessFramePixels().At(x, y); }

    JWnd frame = kNoWindow;
};
