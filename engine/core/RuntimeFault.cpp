#include "engine/core/RuntimeFault.h"

namespace trelvano {

RuntimeFault::RuntimeFault(FaultKind kind) : std::runtime_error(FaultText(kind)), kind_(kind) {}

RuntimeFault::RuntimeFault(MemoryShortfall shortfall)
    : std::runtime_error(FaultText(FaultKind::OutOfMemory)), kind_(FaultKind::OutOfMemory), shortfall_(shortfall)
{
}

const char* FaultText(FaultKind kind) noexcept
{
    switch (kind) {
    case FaultKind::Overflow:
        return "Errore: overflow. Un valore supera l'intervallo ammesso.";
    case FaultKind::IndexOutOfRange:
        return "Errore: indice fuori dall'intervallo.";
    case FaultKind::FloatingPoint:
        return "Errore di calcolo in virgola mobile.";
    case FaultKind::OutOfMemory:
        return "Memoria insufficiente per il numero di campioni richiesto.";
    }
    return "Errore.";
}

}  // namespace trelvano
