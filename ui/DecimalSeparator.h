#pragma once

#include <QLocale>
#include <string>

namespace trelvano {

// The decimal separator of the user's regional settings, as the readouts need it.
inline std::string DecimalSeparator()
{
    return QLocale().decimalPoint().toStdString();
}

}  // namespace trelvano
