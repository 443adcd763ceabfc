#include "platform/linux/gioshell.h"

#include <QFile>
#include <QFileInfo>

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <cerrno>
#include <memory>

namespace pelmaris::platform::gio {

namespace {

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T> using Object = std::unique_ptr<T, ObjectUnref>;

struct ErrorFree {
    void operator()(GError *error) const { g_error_free(error); }
};
using Error = std::unique_ptr<GError, ErrorFree>;

struct FileListFree {
    void operator()(GList *list) const { g_list_free_full(list, g_object_unref); }
};
using ObjectList = std::unique_ptr<GList, FileListFree>;

bool fail(ShellError *error, int code, const QString &text)
{
    if (error)
        *error = {code, text};
    return false;
}

int codeOf(const GError *error)
{
    if (g_error_matches(error, G_SPAWN_ERROR, G_SPAWN_ERROR_NOENT) ||
        g_error_matches(error, G_IO_ERROR, G_IO_ERROR_NOT_FOUND))
        return ShellError::NotFound;
    if (g_error_matches(error, G_IO_ERROR, G_IO_ERROR_NOT_SUPPORTED))
        return ShellError::NotSupported;
    return ShellError::AccessDenied;
}

bool fail(ShellError *error, const GError *gerror)
{
    return fail(error, codeOf(gerror), QString::fromUtf8(gerror->message));
}

// An address with a scheme ("https://…", "mailto:…") stays an address; anything else
// is a path, made absolute so the entry's working folder cannot change its meaning.
GFile *fileFor(const QString &argument)
{
    const qsizetype colon = argument.indexOf(u':');
    bool scheme = colon >= 2 && argument.at(0).isLetter();
    for (qsizetype i = 0; scheme && i < colon; ++i) {
        const QChar c = argument.at(i);
        scheme = c.isLetterOrNumber() || c == u'+' || c == u'-' || c == u'.';
    }
    if (scheme && !QFileInfo::exists(argument))
        return g_file_new_for_uri(argument.toUtf8().constData());
    return g_file_new_for_path(QFile::encodeName(QFileInfo(argument).absoluteFilePath()));
}

} // namespace

bool launchEntry(const QString &entryFile, const QStringList &arguments, ShellError *error)
{
    if (!QFileInfo(entryFile).isFile())
        return fail(error, ShellError::NotFound, qt_error_string(ENOENT));
    // Null when the entry is no application or its program is not installed.
    Object<GDesktopAppInfo> app(
        g_desktop_app_info_new_from_filename(QFile::encodeName(entryFile).constData()));
    if (!app)
        return fail(error, ShellError::NotFound, qt_error_string(ENOENT));
    GList *files = nullptr;
    for (const QString &argument : arguments)
        files = g_list_append(files, fileFor(argument));
    const ObjectList owned(files);
    GError *raw = nullptr;
    if (!g_app_info_launch(G_APP_INFO(app.get()), files, nullptr, &raw)) {
        const Error failure(raw);
        return fail(error, failure.get());
    }
    return true;
}

bool launchDefault(const QString &target, ShellError *error)
{
    const Object<GFile> file(fileFor(target));
    gchar *uri = g_file_get_uri(file.get());
    GError *raw = nullptr;
    const bool launched = g_app_info_launch_default_for_uri(uri, nullptr, &raw);
    g_free(uri);
    if (launched)
        return true;
    const Error failure(raw);
    if (g_error_matches(failure.get(), G_IO_ERROR, G_IO_ERROR_NOT_SUPPORTED))
        return fail(error, ShellError::NoAssociation, QString::fromUtf8(failure->message));
    return fail(error, failure.get());
}

QString noApplicationText()
{
    return QString::fromUtf8(
        g_dgettext("glib20", "No application is registered as handling this file"));
}

QList<Application> applicationsFor(const QString &mimeType)
{
    QList<Application> result;
    const ObjectList apps(g_app_info_get_all_for_type(mimeType.toUtf8().constData()));
    for (GList *node = apps.get(); node; node = node->next) {
        GAppInfo *info = G_APP_INFO(node->data);
        if (!G_IS_DESKTOP_APP_INFO(info) || !g_app_info_should_show(info))
            continue;
        const char *file = g_desktop_app_info_get_filename(G_DESKTOP_APP_INFO(info));
        if (!file)
            continue;
        Application app;
        app.entryFile = QFile::decodeName(file);
        app.name = QString::fromUtf8(g_app_info_get_display_name(info));
        if (GIcon *icon = g_app_info_get_icon(info)) {
            gchar *text = g_icon_to_string(icon);
            app.icon = QString::fromUtf8(text);
            g_free(text);
        }
        result << app;
    }
    return result;
}

bool trash(const QString &path, ShellError *error)
{
    const Object<GFile> file(g_file_new_for_path(QFile::encodeName(path).constData()));
    GError *raw = nullptr;
    if (g_file_trash(file.get(), nullptr, &raw))
        return true;
    const Error failure(raw);
    return fail(error, failure.get());
}

} // namespace pelmaris::platform::gio
