#pragma once
#include <QString>

// The save dialog's file types for a resource type ("Description|*.ext|..."), by the upper-cased
// type string.
QString SaveFilter(const QString &type);
