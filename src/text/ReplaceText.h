#pragma once
#include <QString>

// Every occurrence of `search` in `text` replaced by `replacement`, from left to right. The search
// goes on right after each inserted replacement, which is never searched again. `compare` 0 is an
// exact comparison; any other value ignores case. An empty text or search gives the text unchanged.
QString ReplaceText(const QString &text, const QString &search, const QString &replacement, int compare = 0);

// The line-break rule of the text renderings: a lone line feed becomes CR LF, and CR CR LF (which
// the first step makes of an existing CR LF preceded by CR) comes back as CR LF.
QString NormaliseLineBreaks(const QString &line);
