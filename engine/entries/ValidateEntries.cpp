#include "engine/entries/ValidateEntries.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>

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
void HoldWholeEntry(AnalysisParameters& params, MessageSink& messages, double entered, const char* warning,
                    double factor, double& field)
{
    field = entered;
    if (!IsWholeNumber(entered)) Show(params, messages, warning);
    const double scaled = RoundHalfEven(entered) * factor;
    if (!std::isfinite(scaled)) throw RuntimeFault(FaultKind::Overflow);
    field = scaled;
}

void Hold(AnalysisParameters& params, MessageSink& messages, const Entry& entry, double entered)
{
    switch (entry.holding) {
    case Holding::AsRead:
        params.*entry.field = entered;
        break;
    case Holding::Scaled:
        HoldWholeEntry(params, messages, entered, entry.warning, entry.factor, params.*entry.field);
        break;
    case Holding::Count:
        params.N = ToInt32HalfEven(entered);
        break;
    }
}

double Finite(double value)
{
    if (!std::isfinite(value)) throw RuntimeFault(FaultKind::FloatingPoint);
    return value;
}

bool IsModulationType(const std::string& text)
{
    return std::any_of(kModulationTypes.begin(), kModulationTypes.end(),
                       [&text](const char* type) { return text == type; });
}

}  // namespace

ValidationResult ValidateEntries(AnalysisParameters& params, const EntryTexts& entries, MessageSink& messages)
{
    for (std::size_t index = 0; index < kEntries.size(); ++index) {
        std::optional<double> read;
        try {
            read = ReadNumber(entries.*kEntries[index].text);
            Hold(params, messages, kEntries[index], *read);
        } catch (RuntimeFault& fault) {
            // Only here is it known which entry the fault came from.
            fault.SetEntry({index, read});
            throw;
        }
    }

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
