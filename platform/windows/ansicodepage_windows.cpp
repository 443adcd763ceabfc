#include "platform/ansicodepage.h"

#include <windows.h>

namespace pelmaris::platform {

// The system's ANSI code page (932 on a Japanese system): Qt without ICU knows only the
// Unicode encodings and Latin-1, so the system converts.
QString decodeAnsiCodePage(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    if (n <= 0)
        return QString::fromLatin1(bytes);
    std::wstring text(size_t(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), text.data(), n);
    return QString::fromStdWString(text);
}

QByteArray encodeAnsiCodePage(const QString &text, bool *exact)
{
    if (exact)
        *exact = true;
    if (text.isEmpty())
        return {};
    // The UTF-8 code page takes no default-character report.
    if (GetACP() == CP_UTF8)
        return text.toUtf8();
    const std::wstring wide = text.toStdWString();
    BOOL usedDefault = FALSE;
    // No best fit: a character the code page lacks must show as lost, not as a look-alike.
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), int(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
    if (n <= 0) {
        if (exact)
            *exact = false;
        return {};
    }
    QByteArray bytes(n, Qt::Uninitialized);
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), int(wide.size()), bytes.data(),
                        n, nullptr, &usedDefault);
    if (exact)
        *exact = !usedDefault;
    return bytes;
}

} // namespace pelmaris::platform
