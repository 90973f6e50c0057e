#pragma once

#include <QDate>
#include <QDateTime>

namespace sorakado::shell {

// Today's date and the time; start-up takes the year and month from it, the ledger's backup its
// name. Tests set their own.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    QDate today() const override { return QDate::currentDate(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(QDate date) : now_(date, QTime(12, 0)) {}
    explicit FixedClock(QDateTime now) : now_(std::move(now)) {}
    QDate today() const override { return now_.date(); }
    QDateTime now() const override { return now_; }

private:
    QDateTime now_;
};

} // namespace sorakado::shell
