#include "links/DatagramBatch.h"

namespace velmaris {

DatagramBatch::Step DatagramBatch::Next(std::int64_t nowUs)
{
    const int read = handedOn_ + dropped_;
    if (read > 0 && read >= budget_.readLimit)
        return Step::Stop;
    const bool withinBudget = handedOn_ < budget_.handLimit && nowUs - startUs_ < budget_.timeLimitUs;
    if (read == 0 || (!spent_ && withinBudget)) {
        ++handedOn_;
        return Step::HandOn;
    }
    // Once the budget is spent, nothing more is handed on in this batch,
    // even if the clock seems to allow it again.
    spent_ = true;
    if (!behind_)
        return Step::Stop;
    ++dropped_;
    return Step::Drop;
}

} // namespace velmaris
