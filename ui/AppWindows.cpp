#include "AppWindows.h"

#include <string_view>

#include "Form1.h"
#include "Form2.h"
#include "Form3.h"
#include "PlotSurface.h"

namespace trelvano {

namespace {

void BringToFront(QWidget& window)
{
    window.show();
    window.raise();
    window.activateWindow();
}

bool IsWaveform(const char* form)
{
    return std::string_view(form) == kForm2.name;
}

}  // namespace

AppWindows::AppWindows(Session& session, MessageSink& messages) : session_(session), messages_(messages) {}

AppWindows::~AppWindows()
{
    // A window the user never closed (a spectrum window that stayed hidden,
    // for one) has no parent to delete it.
    delete form3_.data();
    delete form2_.data();
    delete form1_.data();
}

Form1& AppWindows::InputPanel()
{
    if (!form1_) form1_ = new Form1(*this);
    return *form1_;
}

Form2& AppWindows::WaveformWindow()
{
    if (!form2_) {
        form2_ = new Form2(*this);
        QObject::connect(form2_, &QObject::destroyed, [this] { Closed(kForm2.name); });
    }
    return *form2_;
}

Form3& AppWindows::SpectrumWindow()
{
    if (!form3_) {
        form3_ = new Form3(*this);
        QObject::connect(form3_, &QObject::destroyed, [this] { Closed(kForm3.name); });
    }
    return *form3_;
}

Form1* AppWindows::ExistingInputPanel() const
{
    return form1_.data();
}

Form2* AppWindows::ExistingWaveformWindow() const
{
    return form2_.data();
}

Form3* AppWindows::ExistingSpectrumWindow() const
{
    return form3_.data();
}

void AppWindows::Render(const SessionEvents& events)
{
    for (const SessionEvent& event : events) {
        switch (event.kind) {
        case EventKind::Message:
            messages_.ShowMessage(event.text);
            break;
        case EventKind::Shown:
            if (IsWaveform(event.form))
                BringToFront(WaveformWindow());
            else
                BringToFront(SpectrumWindow());
            break;
        case EventKind::PlotChanged:
            if (const ResultWindow* window = session_.Window(event.form)) Plot(event.form).ShowImage(*window);
            break;
        case EventKind::Readout:
            Plot(event.form).SetReadout(QString::fromStdString(event.text), QPointF(event.x, event.y));
            break;
        case EventKind::Described:
            Plot(event.form).setAccessibleDescription(QString::fromStdString(event.text));
            break;
        case EventKind::Closed:
        case EventKind::PressEnded:
            // The window is already gone; the wait cursor ends with the press's call.
            break;
        }
    }
}

PlotSurface& AppWindows::Plot(const char* form)
{
    return IsWaveform(form) ? WaveformWindow().Picture1() : SpectrumWindow().Picture1();
}

void AppWindows::Closed(const char* form)
{
    // The session forgets the window's plot with it, as the user expects of a
    // closed window; what else its close causes is already on screen.
    session_.Close(form);
}

}  // namespace trelvano
