#include "ComponentsAbout.h"

#include "zip/ZipArchiver.h"

QString ComponentsAbout()
{
    return QStringLiteral("\n\nPowered by ZipArchiver ") + TZipArchiver().CurrentVersion()
        + QStringLiteral("\nZIP archive component of the Zentavo suite")
        + QStringLiteral("\n\nSmtpMail\nMail component of the Zentavo suite");
}
