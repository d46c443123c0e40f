#include "ValidateEntries.h"

#include <cmath>

#include "Messages.h"
#include "NumberReader.h"
#include "RuntimeFault.h"

namespace trelvano {

namespace {

void Show(AnalysisParameters& params, MessageSink& messages, const char* text)
{
    // Set first: whoever looks at the state while the box is up sees its text.
    params.MessageText = text;
    messages.ShowMessage(params.MessageText);
}

// A whole number of units scaled to SI; a product beyond double range cannot be held.
double ScaledWhole(double entered, double factor)
{
    const double scaled = RoundHalfEven(entered) * factor;
    if (!std::isfinite(scaled)) throw RuntimeFault(FaultKind::Overflow);
    return scaled;
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

    // The window must hold whole periods, hence whole milliseconds.
    const double windowMs = ReadNumber(entries.Text1);
    params.W = windowMs;
    if (!IsWholeNumber(windowMs)) Show(params, messages, messages::M1);
    // A multiplication by the double nearest 0.001, not a division by 1000:
    // 9 ms is held as 0.009000000000000001 s.
    params.W = ScaledWhole(windowMs, 0.001);

    params.N = ToInt32HalfEven(ReadNumber(entries.Text13));
    params.mAM = ReadNumber(entries.Text4);
    params.mf = ReadNumber(entries.Text6);
    params.Kf = ReadNumber(entries.Text5);

    const double carrierKHz = ReadNumber(entries.Text3);
    params.fp = carrierKHz;
    if (!IsWholeNumber(carrierKHz)) Show(params, messages, messages::M2);
    params.fp = ScaledWhole(carrierKHz, 1000.0);

    const double modulatingKHz = ReadNumber(entries.Text7);
    params.fm = modulatingKHz;
    if (!IsWholeNumber(modulatingKHz)) Show(params, messages, messages::M3);
    params.fm = ScaledWhole(modulatingKHz, 1000.0);

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

    // Only negative entries can cancel the denominator (Kf·mf·fm = -fp); an
    // infinite or undefined scale would make every spectrum line meaningless.
    const double deviation = Finite(Finite(params.Kf * params.mf) * params.fm);
    const double axisHalfWidth = Finite(deviation + params.fp);
    const double denominator = Finite(axisHalfWidth * Finite(params.W * 4.0));
    if (denominator == 0.0) throw RuntimeFault(FaultKind::FloatingPoint);
    params.FreqScale = Finite(static_cast<double>(params.N) / denominator);
    return ValidationResult::Accepted;
}

}  // namespace trelvano
