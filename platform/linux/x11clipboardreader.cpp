#include "platform/linux/x11clipboardreader.h"

#include <QString>

#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <poll.h>

namespace pelmaris::platform {

namespace {

using Clock = std::chrono::steady_clock;
using Status = ClipboardText::Status;

// Replies and events are malloc'ed by xcb.
struct FreeDeleter {
    void operator()(void *p) const { std::free(p); }
};
template <typename T> using Owned = std::unique_ptr<T, FreeDeleter>;

// Longest wait between looks at the cancel flag.
constexpr int kPollMs = 100;
// What one property read asks for, in 32-bit units (16 MiB).
constexpr uint32_t kPieceUnits = 4u << 20;

class Reader {
public:
    Reader(qint64 maxBytes, int timeoutMs, const std::atomic<bool> &cancel)
        : m_maxBytes(maxBytes), m_timeout(std::chrono::milliseconds(timeoutMs)), m_cancel(cancel)
    {
        int screenNumber = 0;
        m_c = xcb_connect(nullptr, &screenNumber);
        if (xcb_connection_has_error(m_c))
            return;
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(m_c));
        for (int i = 0; i < screenNumber && it.rem > 0; ++i)
            xcb_screen_next(&it);
        m_screen = it.rem > 0 ? it.data : nullptr;
    }
    ~Reader()
    {
        if (m_c)
            xcb_disconnect(m_c);
    }
    Reader(const Reader &) = delete;
    Reader &operator=(const Reader &) = delete;

    ClipboardText read();

private:
    xcb_atom_t atom(const char *name);
    // The first event that `match` takes, or none on timeout, cancel or a lost connection
    // (`m_why` says which).
    template <typename Match> Owned<xcb_generic_event_t> waitFor(Match match);
    ClipboardText readProperty(bool latin1);
    ClipboardText readIncrements(bool latin1);
    ClipboardText failed(Status status)
    {
        ClipboardText out;
        out.status = status;
        return out;
    }
    ClipboardText text(QByteArray bytes, bool latin1)
    {
        ClipboardText out;
        out.status = Status::Text;
        out.utf8 = latin1 ? QString::fromLatin1(bytes).toUtf8() : std::move(bytes);
        return out;
    }

    const qint64 m_maxBytes;
    const Clock::duration m_timeout;
    const std::atomic<bool> &m_cancel;
    xcb_connection_t *m_c = nullptr;
    xcb_screen_t *m_screen = nullptr;
    xcb_window_t m_window = XCB_NONE;
    xcb_atom_t m_property = XCB_NONE;
    xcb_atom_t m_incr = XCB_NONE;
    Status m_why = Status::NoAnswer;
};

xcb_atom_t Reader::atom(const char *name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(m_c, 0, uint16_t(std::strlen(name)), name);
    Owned<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(m_c, cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_NONE);
}

template <typename Match> Owned<xcb_generic_event_t> Reader::waitFor(Match match)
{
    const Clock::time_point deadline = Clock::now() + m_timeout;
    for (;;) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_c)) {
            Owned<xcb_generic_event_t> owned(event);
            if (match(event))
                return owned;
        }
        if (xcb_connection_has_error(m_c)) {
            m_why = Status::NoAnswer;
            return nullptr;
        }
        if (m_cancel.load(std::memory_order_relaxed)) {
            m_why = Status::Cancelled;
            return nullptr;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            m_why = Status::NoAnswer;
            return nullptr;
        }
        pollfd fd{xcb_get_file_descriptor(m_c), POLLIN, 0};
        ::poll(&fd, 1, int(std::min<qint64>(left.count(), kPollMs)));
    }
}

ClipboardText Reader::read()
{
    if (!m_c || xcb_connection_has_error(m_c) || !m_screen)
        return failed(Status::NoAnswer);
    const xcb_atom_t clipboard = atom("CLIPBOARD");
    m_incr = atom("INCR");
    m_property = atom("PELMARIS_CLIPBOARD_TEXT");
    const xcb_atom_t targets[] = {atom("UTF8_STRING"), atom("text/plain;charset=utf-8"),
                                  XCB_ATOM_STRING};
    Owned<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(m_c, xcb_get_selection_owner(m_c, clipboard), nullptr));
    if (!owner)
        return failed(Status::NoAnswer);
    if (owner->owner == XCB_NONE)
        return failed(Status::NoText);

    m_window = xcb_generate_id(m_c);
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(m_c, XCB_COPY_FROM_PARENT, m_window, m_screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, m_screen->root_visual, XCB_CW_EVENT_MASK,
                      &events);
    for (const xcb_atom_t target : targets) {
        if (target == XCB_NONE)
            continue;
        xcb_convert_selection(m_c, m_window, clipboard, target, m_property, XCB_CURRENT_TIME);
        xcb_flush(m_c);
        Owned<xcb_generic_event_t> event = waitFor([this](xcb_generic_event_t *e) {
            return (e->response_type & 0x7f) == XCB_SELECTION_NOTIFY &&
                   reinterpret_cast<xcb_selection_notify_event_t *>(e)->requestor == m_window;
        });
        if (!event)
            return failed(m_why);
        // No property: the owner has no text in this form; the next may do.
        if (reinterpret_cast<xcb_selection_notify_event_t *>(event.get())->property == XCB_NONE)
            continue;
        return readProperty(target == XCB_ATOM_STRING);
    }
    return failed(Status::NoText);
}

ClipboardText Reader::readProperty(bool latin1)
{
    // A first look for the type and the size, without the data.
    Owned<xcb_get_property_reply_t> head(xcb_get_property_reply(
        m_c, xcb_get_property(m_c, 0, m_window, m_property, XCB_GET_PROPERTY_TYPE_ANY, 0, 0),
        nullptr));
    if (!head)
        return failed(Status::NoAnswer);
    if (head->type == m_incr)
        return readIncrements(latin1);
    const qint64 size = head->bytes_after;
    if (size > m_maxBytes) {
        xcb_delete_property(m_c, m_window, m_property);
        xcb_flush(m_c);
        return failed(Status::TooLarge);
    }
    QByteArray bytes;
    bytes.reserve(qsizetype(size));
    for (uint32_t offset = 0;;) {
        Owned<xcb_get_property_reply_t> piece(
            xcb_get_property_reply(m_c,
                                   xcb_get_property(m_c, 0, m_window, m_property,
                                                    XCB_GET_PROPERTY_TYPE_ANY, offset, kPieceUnits),
                                   nullptr));
        if (!piece)
            return failed(Status::NoAnswer);
        const int length = xcb_get_property_value_length(piece.get());
        if (bytes.size() + length > m_maxBytes)
            return failed(Status::TooLarge);
        bytes.append(static_cast<const char *>(xcb_get_property_value(piece.get())), length);
        if (piece->bytes_after == 0 || length == 0)
            break;
        offset += uint32_t(length) / 4;
    }
    xcb_delete_property(m_c, m_window, m_property);
    xcb_flush(m_c);
    return text(std::move(bytes), latin1);
}

ClipboardText Reader::readIncrements(bool latin1)
{
    // Deleting the INCR property asks for the first piece; each piece read (and deleted)
    // asks for the next; an empty one ends the text.
    xcb_delete_property(m_c, m_window, m_property);
    xcb_flush(m_c);
    QByteArray bytes;
    for (;;) {
        Owned<xcb_generic_event_t> event = waitFor([this](xcb_generic_event_t *e) {
            if ((e->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
                return false;
            const auto *p = reinterpret_cast<xcb_property_notify_event_t *>(e);
            return p->window == m_window && p->atom == m_property &&
                   p->state == XCB_PROPERTY_NEW_VALUE;
        });
        if (!event)
            return failed(m_why);
        Owned<xcb_get_property_reply_t> piece(
            xcb_get_property_reply(m_c,
                                   xcb_get_property(m_c, 1, m_window, m_property,
                                                    XCB_GET_PROPERTY_TYPE_ANY, 0, kPieceUnits),
                                   nullptr));
        xcb_flush(m_c);
        if (!piece)
            return failed(Status::NoAnswer);
        const int length = xcb_get_property_value_length(piece.get());
        if (length == 0)
            return text(std::move(bytes), latin1);
        if (bytes.size() + length > m_maxBytes)
            return failed(Status::TooLarge);
        bytes.append(static_cast<const char *>(xcb_get_property_value(piece.get())), length);
    }
}

} // namespace

ClipboardText readX11ClipboardText(qint64 maxBytes, int timeoutMs, const std::atomic<bool> &cancel)
{
    Reader reader(maxBytes, timeoutMs, cancel);
    return reader.read();
}

} // namespace pelmaris::platform
