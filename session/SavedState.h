#pragma once

#include <QtGlobal>

#include <algorithm>

/// Whether what one side of the run (the chart's points or the register's rows) holds has been
/// saved since it was taken. A save works on the side as it was when it began, while samples go
/// on arriving: it covers what its mark counted, and only if nothing was cleared meanwhile.
class SavedState {
public:
    struct Mark {
        quint64 clears = 0;
        quint64 taken = 0;
    };

    void taken(quint64 count = 1) { taken_ += count; }
    void cleared()
    {
        ++clears_;
        taken_ = saved_ = 0;
    }
    Mark mark() const { return {clears_, taken_}; }
    void saved(const Mark &mark)
    {
        if (mark.clears == clears_)
            saved_ = std::max(saved_, mark.taken);
    }
    bool unsaved() const { return saved_ < taken_; }

private:
    quint64 clears_ = 0;
    quint64 taken_ = 0;
    quint64 saved_ = 0;
};
