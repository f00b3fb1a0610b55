#include "RegisterRowStream.h"

#include "RegisterStore.h"

#include <QIODevice>

namespace {

constexpr qsizetype kBlockBytes = 1 << 20;
constexpr qint64 kProgressRows = 1 << 16;

bool writeAll(QIODevice &out, const QByteArray &bytes)
{
    return out.write(bytes) == bytes.size();
}

} // namespace

RegisterWriteStatus writeRegisterRows(QIODevice &out, const QByteArray &head, const RegisterStore &store,
                                      const std::function<void(std::string &, qint64, const RegisterRow &)> &appendRow,
                                      const RegisterProgress &progress)
{
    const qint64 total = std::max<qint64>(1, store.size());
    if (progress && !progress(0, total))
        return RegisterWriteStatus::Cancelled;
    QByteArray block = head;
    block.reserve(std::max(block.size(), kBlockBytes) + 64 * 1024);
    const RegisterRow emptyRow;
    std::string line;
    for (qint64 r = 0; r < total; ++r) {
        line.clear();
        appendRow(line, r, r < store.size() ? store.at(r) : emptyRow);
        block.append(line.data(), qsizetype(line.size()));
        if (block.size() >= kBlockBytes) {
            if (!writeAll(out, block))
                return RegisterWriteStatus::DeviceFailed;
            block.resize(0);
        }
        if (progress && (r + 1) % kProgressRows == 0 && !progress(r + 1, total))
            return RegisterWriteStatus::Cancelled;
    }
    if (!writeAll(out, block))
        return RegisterWriteStatus::DeviceFailed;
    if (progress && !progress(total, total))
        return RegisterWriteStatus::Cancelled;
    return RegisterWriteStatus::Complete;
}
