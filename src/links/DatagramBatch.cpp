#include "links/DatagramBatch.h"

namespace velmaris {

DatagramBatch::Step DatagramBatch::Next(std::int64_t nowUs)
{
    if (handedOn_ + dropped_ >= budget_.readLimit)
        return Step::Stop;
    if (!spent_ && handedOn_ < budget_.handLimit && nowUs - startUs_ < budget_.timeLimitUs) {
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
