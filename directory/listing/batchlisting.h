// The library's batch protocol, run the same way at every call site.
#ifndef ARBOLIX_DIRECTORY_BATCHLISTING_H
#define ARBOLIX_DIRECTORY_BATCHLISTING_H

#include <cstdint>

namespace directory {

// The three words a listing hands the library by address. Each level keeps its own.
// The continuation word belongs to the library: we never set or read it after construction.
struct ListingWords
{
    int32_t more = 0;
    int32_t count = 0;
    int32_t cont = 0;
};

enum class ListingEnd
{
    Complete,
    Failed,
    Stopped // the caller declined the next call
};

struct ListingResult
{
    ListingEnd end = ListingEnd::Complete;
    int64_t taken = 0; // entries handed to take, over all batches

    bool stopped() const { return end == ListingEnd::Stopped; }
};

// Calls the library until its more flag is 0, handing the first count entries of each batch to
// take(index) in order. A nonzero result ends the listing; what was taken stays taken.
// Two ways to stop, both ending the listing as stopped without another call:
// - proceed() is asked before every call, so between two calls and never inside one;
// - take returns false: the rest of that batch is not handed on (a listing nested in an entry
//   stopped, so the walk as a whole is over).
//
// Beyond the plain protocol, a misbehaving library cannot do harm here:
// - the more flag is zeroed before the first call, so a listing never starts as the
//   continuation of an earlier one that failed half way;
// - a count below 0 or above maxObj fails the call and nothing is taken from it;
// - success with the more flag set and nothing delivered fails, so a library that never
//   finishes cannot hold the window for ever.
template <class ProceedFn, class CallFn, class TakeFn>
ListingResult runListing(int32_t maxObj, ListingWords& words, ProceedFn&& proceed, CallFn&& call,
                         TakeFn&& take)
{
    ListingResult result;
    words.more = 0;
    for (;;) {
        if (!proceed()) {
            result.end = ListingEnd::Stopped;
            return result;
        }
        words.count = 0;
        if (call(words) != 0 || words.count < 0 || words.count > maxObj) {
            result.end = ListingEnd::Failed;
            return result;
        }
        for (int32_t i = 0; i < words.count; ++i) {
            ++result.taken;
            if (!take(i)) {
                result.end = ListingEnd::Stopped;
                return result;
            }
        }
        if (words.more == 0)
            return result;
        if (words.count == 0) {
            result.end = ListingEnd::Failed;
            return result;
        }
    }
}

} // namespace directory

#endif
