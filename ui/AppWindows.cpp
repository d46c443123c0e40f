#include "AppWindows.h"

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

}  // namespace

AppWindows::AppWindows(AnalysisState& state, MessageSink& messages) : state_(state), messages_(messages) {}

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
    if (!form2_) form2_ = new Form2(*this);
    return *form2_;
}

Form3& AppWindows::SpectrumWindow()
{
    if (!form3_) form3_ = new Form3(*this);
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

void AppWindows::ShowSpectrumWindow()
{
    BringToFront(SpectrumWindow());
}

std::string AppWindows::ModulationText()
{
    // Only the input panel starts a run, so it exists whenever this is asked;
    // a panel already closed has no type to offer.
    return form1_ ? form1_->ModulationText() : std::string();
}

void AppWindows::ShowWaveformWindow()
{
    BringToFront(WaveformWindow());
}

plot::Canvas& AppWindows::WaveformPlot()
{
    return WaveformWindow().Picture1();
}

plot::Canvas& AppWindows::SpectrumPlot()
{
    return SpectrumWindow().Picture1();
}

}  // namespace trelvano
