#include "PointSeries.h"

#include <atomic>
#include <iterator>

namespace {
// Unique across all series, so that a series assigned another's points never looks unchanged.
std::uint64_t nextGeneration()
{
    static std::atomic<std::uint64_t> last{0};
    return ++last;
}

// Summaries are brought up to date as points arrive, once per summary block, so that a frame
// drawn from a day's points (the first after a journal is replayed above all) only queries them.
constexpr std::size_t SummaryBlock = 64;

// Position of the first point for which `after(x of point)` holds, chunk by chunk:
// `after` must be false for a prefix of the series and true for the rest.
template <typename After>
std::size_t firstPointAfter(const std::vector<std::shared_ptr<PointChunk>> &chunks,
                            const std::vector<std::size_t> &starts, std::size_t size, After after)
{
    const auto chunk = std::partition_point(
        chunks.begin(), chunks.end(), [&](const std::shared_ptr<PointChunk> &c) { return !after(c->xs().back()); });
    if (chunk == chunks.end())
        return size;
    const auto &xs = (*chunk)->xs();
    const auto at = std::partition_point(xs.begin(), xs.end(), [&](double x) { return !after(x); });
    return starts[std::size_t(chunk - chunks.begin())] + std::size_t(at - xs.begin());
}
} // namespace

PointSeries::PointSeries(std::size_t chunkCapacity)
    : chunkCapacity_(std::clamp<std::size_t>(chunkCapacity, 2, MinMaxPyramid::MaxValues)), generation_(nextGeneration())
{
}

PointChunk &PointSeries::writable(std::size_t i)
{
    if (chunks_[i].use_count() > 1)
        chunks_[i] = std::make_shared<PointChunk>(*chunks_[i]);
    else
        // A snapshot just let go on another thread: its reads are over before this write.
        std::atomic_thread_fence(std::memory_order_acquire);
    return *chunks_[i];
}

void PointSeries::add(double x, double y)
{
    const float slot = codec_.encode(y);
    if (chunks_.empty() || x >= chunks_.back()->xs().back()) {
        if (chunks_.empty() || chunks_.back()->size() == chunkCapacity_) {
            chunks_.push_back(std::make_shared<PointChunk>());
            starts_.push_back(size_);
        }
        PointChunk &last = writable(chunks_.size() - 1);
        last.append(x, slot);
        if (last.size() % SummaryBlock == 0)
            last.summarise(codec_);
        ++size_;
        return;
    }
    // The first chunk whose last x is above x takes the point after its points not above x.
    auto chunk =
        std::size_t(std::partition_point(chunks_.begin(), chunks_.end(),
                                         [x](const std::shared_ptr<PointChunk> &c) { return c->xs().back() <= x; }) -
                    chunks_.begin());
    const auto &xs = chunks_[chunk]->xs();
    auto at = std::size_t(std::upper_bound(xs.begin(), xs.end(), x) - xs.begin());
    if (chunks_[chunk]->size() == chunkCapacity_) {
        const std::size_t half = chunkCapacity_ / 2;
        const auto next = static_cast<std::ptrdiff_t>(chunk + 1);
        chunks_.insert(std::next(chunks_.begin(), next), std::make_shared<PointChunk>(writable(chunk).splitOff(half)));
        starts_.insert(std::next(starts_.begin(), next), starts_[chunk] + half);
        if (at > half) {
            ++chunk;
            at -= half;
        }
    }
    writable(chunk).insert(at, x, slot);
    generation_ = nextGeneration();
    for (std::size_t later = chunk + 1; later < starts_.size(); ++later)
        ++starts_[later];
    ++size_;
}

void PointSeries::clear()
{
    // Releases the memory too: a cleared day-long plot should not keep its gigabyte.
    chunks_ = {};
    starts_ = {};
    codec_.clear();
    size_ = 0;
    generation_ = nextGeneration();
}

std::size_t PointSeries::lowerBound(double x) const
{
    return firstPointAfter(chunks_, starts_, size_, [x](double px) { return px >= x; });
}

std::size_t PointSeries::upperBound(double x) const
{
    return firstPointAfter(chunks_, starts_, size_, [x](double px) { return px > x; });
}

MinMaxAt PointSeries::minMax(std::size_t from, std::size_t to) const
{
    const Place first = place(from);
    const Place last = place(to - 1);
    MinMaxScan scan(from, y(from));
    for (std::size_t c = first.chunk; c <= last.chunk; ++c) {
        const PointChunk &chunk = *chunks_[c];
        const std::size_t begin = c == first.chunk ? first.offset : 0;
        const std::size_t end = c == last.chunk ? last.offset + 1 : chunk.size();
        const MinMaxAt found = chunk.minMax(codec_, begin, end);
        scan.take(starts_[c] + found.minAt, codec_.decode(chunk.slot(found.minAt)), starts_[c] + found.maxAt,
                  codec_.decode(chunk.slot(found.maxAt)));
    }
    return scan.found();
}

std::size_t PointSeries::bytesUsed() const
{
    std::size_t bytes =
        chunks_.capacity() * sizeof(chunks_[0]) + starts_.capacity() * sizeof(std::size_t) + codec_.bytesUsed();
    for (const auto &chunk : chunks_)
        bytes += sizeof(PointChunk) + chunk->bytesUsed();
    return bytes;
}
