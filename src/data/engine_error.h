#pragma once

#include <QString>
#include <stdexcept>

namespace zep {

// Every failure of the table engine: carries a German message that names the table and field concerned.
class EngineError : public std::runtime_error {
public:
    explicit EngineError(const QString& message) : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// A user's text quoted in a message: cut after 200 characters, so a huge text gives a readable message.
inline QString messageExcerpt(const QString& text) {
    constexpr qsizetype limit = 200;
    return text.size() > limit ? text.left(limit) + QStringLiteral("...") : text;
}

} // namespace zep
