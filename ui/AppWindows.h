#pragma once

#include <QPointer>

#include "engine/entries/MessageSink.h"
#include "engine/session/Session.h"

namespace trelvano {

class Form1;
class Form2;
class Form3;
class PlotSurface;

// The three windows on screen, showing what the session says. Each exists at
// most once: it is created, hidden, when first asked for or first named by an
// event, and closing it destroys it, so the next request builds it afresh.
// The session and the message box belong to the caller and outlive the windows.
class AppWindows final {
public:
    AppWindows(Session& session, MessageSink& messages);
    ~AppWindows();
    AppWindows(const AppWindows&) = delete;
    AppWindows& operator=(const AppWindows&) = delete;

    Form1& InputPanel();
    Form2& WaveformWindow();
    Form3& SpectrumWindow();

    // The windows as they are now, without creating any: null once closed.
    Form1* ExistingInputPanel() const;
    Form2* ExistingWaveformWindow() const;
    Form3* ExistingSpectrumWindow() const;

    Session& session() { return session_; }

    // Shows the events of one action in their order: each message in its
    // modal box before anything after it, windows shown, plots copied,
    // readouts set.
    void Render(const SessionEvents& events);

private:
    PlotSurface& Plot(const char* form);
    void Closed(const char* form);

    Session& session_;
    MessageSink& messages_;
    // Parentless windows, deleted by Qt when closed; QPointer notices that.
    QPointer<Form1> form1_;
    QPointer<Form2> form2_;
    QPointer<Form3> form3_;
};

}  // namespace trelvano
