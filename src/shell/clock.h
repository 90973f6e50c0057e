#pragma once

#include <QDate>

namespace sorakado::shell {

// Today's date; start-up takes the year and month from it. Tests set their own.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
};

class SystemClock final : public Clock {
public:
    QDate today() const override { return QDate::currentDate(); }
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(QDate date) : date_(date) {}
    QDate today() const override { return date_; }

private:
    QDate date_;
};

} // namespace sorakado::shell
