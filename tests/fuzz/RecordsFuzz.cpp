// Any bytes as each record kind: decoding never reads past the input or
// allocates what the input only claims, and what was decoded survives
// encode -> decode -> encode unchanged. The listing of orvanta-records reads
// the same bytes without failing differently.
#include "fuzz/FuzzCheck.h"
#include "records/RecordArchive.h"
#include "records/RecordDump.h"
#include "records/SignInRecords.h"

#include <cstdint>

namespace {

using namespace orvanta;

template <typename Record>
Record decoded(const QByteArray& bytes, RecordReader& reader)
{
    Record record;
    LoadArchive archive(reader);
    record.visit(archive);
    FUZZ_CHECK(reader.offset() <= bytes.size());
    return record;
}

template <typename Record>
void roundTrip(const QByteArray& bytes)
{
    RecordReader reader(bytes);
    const QByteArray encoded = encodeRecord(decoded<Record>(bytes, reader));
    RecordReader again(encoded);
    const Record second = decoded<Record>(encoded, again);
    FUZZ_CHECK(!again.failed() && again.atEnd());
    FUZZ_CHECK(encodeRecord(second) == encoded);
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // One line per record type the dialer keeps.
    roundTrip<SignInRecord>(bytes);
    roundTrip<SignInRecordWithAccount>(bytes);
    roundTrip<FailoverRecord>(bytes);

    static const std::vector<RecordKind> kinds = signInRecordKinds();
    for (const RecordKind& kind : kinds) {
        const auto dump = dumpRecordFile(kinds, kind.fileName, bytes);
        FUZZ_CHECK(dump.has_value());
    }
    return 0;
}
