#include "engine/entries/ValidateEntries.h"

#include <cmath>

#include "engine/entries/Messages.h"
#include "engine/entries/NumberReader.h"
#include "engine/core/RuntimeFault.h"

namespace trelvano {

namespace {

void Show(AnalysisParameters& params, MessageSink& messages, const char* text)
{
    // Set first: whoever looks at the state while the box is up sees its text.
    params.MessageText = text;
    messages.ShowMessage(params.MessageText);
}

// W, fp and fm: the window must hold whole periods, so each is entered as a
// whole number of units. The field holds the entry as read until the warning
// is dismissed, then the rounded number scaled to SI units; a product beyond
// double range cannot be held.
void ReadWholeEntry(AnalysisParameters& params, MessageSink& messages, const std::string& text,
                    const char* warning, double factor, double& field)
{
    const double entered = ReadNumber(text);
    field = entered;
    if (!IsWholeNumber(entered)) Show(params, messages, warning);
    const double scaled = RoundHalfEven(entered) * factor;
    if (!std::isfinite(scaled)) throw RuntimeFault(FaultKind::Overflow);
    field = scaled;
}

double Finite(double value)
{
    if (!std::isfinite(value)) throw RuntimeFault(FaultKind::FloatingPoint);
    return value;
}

bool IsModulationType(const std::string& text)
{
    return text == "AM" || text == "FM" || text == "PM";
}

}  // namespace

ValidationResult ValidateEntries(AnalysisParameters& params, const EntryTexts& entries, MessageSink& messages)
{
    params.Kt = ReadNumber(entries.Text2);
    params.Vp = ReadNumber(entries.Text8);

    // A multiplication by the double nearest 0.001, not a division by 1000:
    // 9 ms is held as 0.009000000000000001 s.
    ReadWholeEntry(params, messages, entries.Text1, messages::M1, 0.001, params.W);

    params.N = ToInt32HalfEven(ReadNumber(entries.Text13));
    params.mAM = ReadNumber(entries.Text4);
    params.mf = ReadNumber(entries.Text6);
    params.Kf = ReadNumber(entries.Text5);

    ReadWholeEntry(params, messages, entries.Text3, messages::M2, 1000.0, params.fp);
    ReadWholeEntry(params, messages, entries.Text7, messages::M3, 1000.0, params.fm);

    if (params.W == 0.0 || params.fp == 0.0 || params.fm == 0.0) {
        Show(params, messages, messages::M4);
        return ValidationResult::Stopped;
    }

    // Sampling limit: fp <= N / (4 W); equality passes.
    const double highestCarrier = static_cast<double>(params.N) / (params.W * 4.0);
    if (!(highestCarrier >= params.fp)) {
        Show(params, messages, messages::M5);
        return ValidationResult::Stopped;
    }

    const std::string& type = entries.Combo1;
    if (!IsModulationType(type)) {
        Show(params, messages, messages::M6);
        return ValidationResult::Stopped;
    }
    // AM has no frequency deviation to widen the axis for.
    if (type == "AM") params.Kf = 0.0;

    // Only negative entries can cancel the denominator (Kf·mf·fm = -fp); the
    // infinite or undefined scale that follows would make every spectrum line
    // meaningless, so it is a floating-point fault like any other.
    const double deviation = Finite(Finite(params.Kf * params.mf) * params.fm);
    const double axisHalfWidth = Finite(deviation + params.fp);
    const double denominator = Finite(axisHalfWidth * Finite(params.W * 4.0));
    params.FreqScale = Finite(static_cast<double>(params.N) / denominator);
    return ValidationResult::Accepted;
}

}  // namespace trelvano
