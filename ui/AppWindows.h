#pragma once

#include <QPointer>
#include <string>

#include "engine/AnalysisRun.h"
#include "engine/state/AnalysisState.h"
#include "engine/entries/MessageSink.h"

namespace trelvano {

class Form1;
class Form2;
class Form3;

// The three windows of the application. Each exists at most once: it is
// created, hidden, the first time it is asked for, and closing it destroys it
// together with its plot, so the next request builds it afresh. The analysis
// state and the message sink belong to the caller and outlive the windows.
class AppWindows final : public RunHost {
public:
    AppWindows(AnalysisState& state, MessageSink& messages);
    ~AppWindows() override;
    AppWindows(const AppWindows&) = delete;
    AppWindows& operator=(const AppWindows&) = delete;

    Form1& InputPanel();
    Form2& WaveformWindow();
    Form3& SpectrumWindow();

    // The windows as they are now, without creating any: null once closed.
    Form1* ExistingInputPanel() const;
    Form2* ExistingWaveformWindow() const;
    Form3* ExistingSpectrumWindow() const;

    // "Visualizza spettro": the spectrum window, created if needed, in front.
    void ShowSpectrumWindow();

    AnalysisState& State() { return state_; }
    MessageSink& Messages() { return messages_; }

    // RunHost
    std::string ModulationText() override;
    void ShowWaveformWindow() override;
    plot::Canvas& WaveformPlot() override;
    plot::Canvas& SpectrumPlot() override;

private:
    AnalysisState& state_;
    MessageSink& messages_;
    // Parentless windows, deleted by Qt when closed; QPointer notices that.
    QPointer<Form1> form1_;
    QPointer<Form2> form2_;
    QPointer<Form3> form3_;
};

}  // namespace trelvano
