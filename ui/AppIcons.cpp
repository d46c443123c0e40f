#include "AppIcons.h"

namespace trelvano {

namespace {

QIcon IconInTwoSizes(const QString& stem)
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/%1-32.xpm").arg(stem), QSize(32, 32));
    icon.addFile(QStringLiteral(":/icons/%1-16.xpm").arg(stem), QSize(16, 16));
    return icon;
}

}  // namespace

QIcon ApplicationIcon()
{
    return IconInTwoSizes(QStringLiteral("trelvano"));
}

QIcon SpectrumIcon()
{
    return IconInTwoSizes(QStringLiteral("spettro"));
}

}  // namespace trelvano
