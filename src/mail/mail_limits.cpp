// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/mail_limits.h"

#include <QStringList>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "resources/texts.h"

namespace quarnel {

namespace {
// Cannot occur in a server's text as we log it, nor in a number.
constexpr QChar kDetailSeparator(0x1F);
}  // namespace

std::chrono::milliseconds TransferCeiling(const MailLimits& limits, std::int64_t bytes) {
    const std::int64_t rate = std::max<std::int64_t>(limits.slowestRate, 1);
    return limits.reply + std::chrono::milliseconds(std::max<std::int64_t>(bytes, 0) * 1000 / rate);
}

void TransferDeadline::Start(std::chrono::milliseconds idle, std::chrono::milliseconds ceiling) {
    idle_ = idle;
    length_ = ceiling;
    ceiling_ = QDeadlineTimer(ceiling);
    running_ = true;
    Touch();
}

void TransferDeadline::Touch() {
    if (!running_) return;
    const auto left = std::chrono::milliseconds(std::max<qint64>(ceiling_.remainingTime(), 0));
    atCeiling_ = left <= idle_;
    timer_.start(atCeiling_ ? left : idle_);
}

void TransferDeadline::Stop() {
    running_ = false;
    timer_.stop();
}

QString LogDetails(std::initializer_list<QString> values) {
    // A server's words may hold the separator: it would cut them in two.
    QStringList parts;
    for (QString value : values)
        parts << value.replace(kDetailSeparator, QLatin1Char(' '));
    return parts.join(kDetailSeparator);
}

QStringList SplitLogDetails(const QString& detail) {
    return detail.split(kDetailSeparator);
}

QString LogLine(const QString& pattern, const QString& detail) {
    if (!pattern.contains(QLatin1String("%s"))) {
        return detail.isEmpty() ? pattern : pattern + QStringLiteral(" : ") + detail;
    }
    std::vector<std::string> values;
    for (const QString& v : SplitLogDetails(detail))
        values.push_back(v.toStdString());
    const std::vector<std::string_view> views(values.begin(), values.end());
    return QString::fromStdString(FillPlaceholders(pattern.toStdString(), views));
}

QString FrenchLogLine(int textId, const QString& detail) {
    return LogLine(QString::fromUtf8(FrenchText(textId)), detail);
}

}  // namespace quarnel
