#pragma once

// What became of a call that can fail. The libraries return it and never tell the user
// themselves; the window turns a failure into its message.

#include <QString>

#include <optional>
#include <utility>

namespace pelmaris::platform {

class Outcome {
public:
    // Where a failure arose. A desktop service's failure is told in a box of its own, as
    // the desktop's own reports are; the program's refusals beside the window that asked.
    enum class Origin { Program, Desktop };

    Outcome() = default; // success

    // `text` is the message for the user, whole; `code` the system's number where there
    // is one, else 0.
    static Outcome failure(QString text, int code = 0, Origin origin = Origin::Program)
    {
        Outcome out;
        out.m_failed = true;
        out.m_text = std::move(text);
        out.m_code = code;
        out.m_origin = origin;
        return out;
    }
    static Outcome desktopFailure(QString text, int code = 0)
    {
        return failure(std::move(text), code, Origin::Desktop);
    }

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    // Empty on success.
    const QString &text() const { return m_text; }
    int code() const { return m_code; }
    Origin origin() const { return m_origin; }

private:
    bool m_failed = false;
    QString m_text;
    int m_code = 0;
    Origin m_origin = Origin::Program;
};

// A value, or the failure that kept it from being made.
template <class T> class Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(Outcome failure) : m_failure(std::move(failure))
    {
        // A failure with no text still fails: the value is missing either way.
        if (m_failure.ok())
            m_failure = Outcome::failure({});
    }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    const T &value() const { return *m_value; }
    T &value() { return *m_value; }
    const T &operator*() const { return *m_value; }
    T &operator*() { return *m_value; }
    const T *operator->() const { return &*m_value; }
    T *operator->() { return &*m_value; }
    // Success when the value is there.
    const Outcome &outcome() const { return m_failure; }

private:
    std::optional<T> m_value;
    Outcome m_failure;
};

} // namespace pelmaris::platform
