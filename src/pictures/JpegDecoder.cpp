#include "JpegDecoder.h"

#include "JpegOutput.h"
#include "PictureBudget.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <optional>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace zelvo {

namespace {

// --- The decode itself, C-style: libjpeg reports errors by longjmp, which must not skip a C++
// destructor, so nothing below owns a C++ object; the output lives in the caller's frame.

constexpr std::size_t ReadChunk = 64 * 1024;
const JOCTET FakeEnd[2] = {0xFF, JPEG_EOI};

struct Source
{
    jpeg_source_mgr manager;
    const PictureFile* file;
    const LoadGuard* guard;
    // The bytes already read from the file's start, given first.
    const JOCTET* head;
    qint64 headSize;
    qint64 consumed = 0;
    qint64 limit;
    JOCTET* buffer;
    // The decoder asked for more than the file holds: it ends without its end-of-image marker.
    bool ranOut = false;
    // Past the headers: coded data, whose decoding is work the picture justifies.
    bool coded = false;
};

void noInputStep(j_decompress_ptr) {}

struct Errors
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void leave(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<Errors*>(info->err)->jump, 1);
}

// Reads the next chunk; past the allowed bytes or at the end of the file, an end marker, as
// libjpeg's own sources do for a file cut short.
boolean fillInput(j_decompress_ptr info)
{
    auto* source = reinterpret_cast<Source*>(info->src);
    if (source->guard->stopped())
        leave(reinterpret_cast<j_common_ptr>(info));
    if (source->consumed == 0 && source->headSize > 0) {
        source->consumed = std::min(source->headSize, source->limit);
        source->manager.next_input_byte = source->head;
        source->manager.bytes_in_buffer = std::size_t(source->consumed);
        return TRUE;
    }
    const qint64 allowed = std::min<qint64>(ReadChunk, source->limit - source->consumed);
    const qint64 got = allowed > 0
                           ? source->file->readAt(source->consumed,
                                                  reinterpret_cast<char*>(source->buffer), allowed)
                           : 0;
    if (got <= 0) {
        // Arithmetic-coded data reads no further than it needs, so a scan still rows short of
        // its end here was cut short. (Huffman-coded data reads ahead, and is judged by the
        // decoder's own warning once it needs the bits that are missing.)
        if (info->arith_code && info->input_iMCU_row + 1 < info->total_iMCU_rows)
            leave(reinterpret_cast<j_common_ptr>(info));
        source->ranOut = true;
        WARNMS(info, JWRN_JPEG_EOF);
        source->manager.next_input_byte = FakeEnd;
        source->manager.bytes_in_buffer = 2;
        return TRUE;
    }
    source->consumed += got;
    if (source->coded)
        source->guard->allowMoreWork(got * JpegWorkNsPerCodedByte);
    source->manager.next_input_byte = source->buffer;
    source->manager.bytes_in_buffer = std::size_t(got);
    return TRUE;
}

void skipInput(j_decompress_ptr info, long count)
{
    jpeg_source_mgr* manager = info->src;
    while (count > long(manager->bytes_in_buffer)) {
        count -= long(manager->bytes_in_buffer);
        (void)fillInput(info);
    }
    if (count > 0) {
        manager->next_input_byte += count;
        manager->bytes_in_buffer -= std::size_t(count);
    }
}

// A damaged picture still shows what could be decoded, silently, as with Qt's reader; but not
// one whose coded data ends with the file before the picture does, whose rest would be made up,
// nor a progression that refines bits not yet sent or sent already, which no encoder writes and
// whose scans would each be a pass over the whole picture for nothing.
void noteWarning(j_common_ptr info, int level)
{
    if (level >= 0)
        return;
    const int code = info->err->msg_code;
    if (code == JWRN_BOGUS_PROGRESSION ||
        (code == JWRN_HIT_MARKER &&
         reinterpret_cast<Source*>(reinterpret_cast<j_decompress_ptr>(info)->src)->ranOut))
        leave(info);
}

// The work the decoder is about to do, counted as each scan begins, and whether to stop.
struct Progress
{
    jpeg_progress_mgr manager;
    const LoadGuard* guard;
    int scan;
    qint64 visits;
    qint64 visitLimit;
};

void watchWork(j_common_ptr common)
{
    auto* progress = reinterpret_cast<Progress*>(common->progress);
    if (progress->guard->stopped())
        leave(common);
    auto* info = reinterpret_cast<j_decompress_ptr>(common);
    if (info->input_scan_number == progress->scan)
        return;
    progress->scan = info->input_scan_number;
    if (progress->scan > MaxJpegScans)
        leave(common);
    // A scan walks each of its blocks over its band of coefficients, whatever its data.
    qint64 blocks = 0;
    for (int c = 0; c < info->comps_in_scan; ++c)
        blocks += qint64(info->cur_comp_info[c]->width_in_blocks) *
                  info->cur_comp_info[c]->height_in_blocks;
    progress->visits += blocks * std::max(1, info->Se - info->Ss + 1);
    if (progress->visits > progress->visitLimit)
        leave(common);
}

// Whether the file's end-of-image marker follows the coded data still unread, as it does in a
// file written to its end.
bool endMarkerFollows(j_decompress_ptr info)
{
    auto* source = reinterpret_cast<Source*>(info->src);
    if (jpeg_input_complete(info) || info->unread_marker == JPEG_EOI)
        return !source->ranOut;
    jpeg_source_mgr& input = source->manager;
    bool afterFF = false;
    for (;;) {
        if (input.bytes_in_buffer == 0) {
            (void)fillInput(info);
            if (source->ranOut)
                return false;
        }
        if (afterFF) {
            if (*input.next_input_byte == JPEG_EOI)
                return true;
            afterFF = *input.next_input_byte == 0xFF;
            ++input.next_input_byte;
            --input.bytes_in_buffer;
            continue;
        }
        const auto* ff = static_cast<const JOCTET*>(
            std::memchr(input.next_input_byte, 0xFF, input.bytes_in_buffer));
        const std::size_t skipped =
            ff ? std::size_t(ff - input.next_input_byte) + 1 : input.bytes_in_buffer;
        afterFF = ff != nullptr;
        input.next_input_byte += skipped;
        input.bytes_in_buffer -= skipped;
    }
}

// Refusals and errors alike leave through the error handler, which ends the decoder.
bool decodeWith(const PictureFile& file, const QByteArray& head, JpegOutput& output, qint64 budget,
                const LoadGuard& guard, bool completeOnly)
{
    jpeg_decompress_struct info{};
    Errors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = leave;
    errors.manager.emit_message = noteWarning;
    Progress progress{};
    progress.manager.progress_monitor = watchWork;
    progress.guard = &guard;
    const auto common = reinterpret_cast<j_common_ptr>(&info);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    info.progress = &progress.manager;

    auto* source = new ((*info.mem->alloc_small)(common, JPOOL_PERMANENT, sizeof(Source))) Source{
        .manager = {.next_input_byte = nullptr,
                    .bytes_in_buffer = 0,
                    .init_source = noInputStep,
                    .fill_input_buffer = fillInput,
                    .skip_input_data = skipInput,
                    .resync_to_restart = jpeg_resync_to_restart,
                    .term_source = noInputStep},
        .file = &file,
        .guard = &guard,
        .head = reinterpret_cast<const JOCTET*>(head.constData()),
        .headSize = head.size(),
        .limit = std::min(file.size(), JpegHeaderBytes),
        .buffer =
            static_cast<JOCTET*>((*info.mem->alloc_small)(common, JPOOL_PERMANENT, ReadChunk)),
    };
    info.src = &source->manager;

    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK ||
        file.size() > honestJpegBytes(info.image_width, info.image_height))
        leave(common);
    qint64 blocks = 0;
    for (int c = 0; c < info.num_components; ++c)
        blocks += qint64(info.comp_info[c].width_in_blocks) * info.comp_info[c].height_in_blocks;
    if (file.size() < leastJpegBytes(blocks, info.arith_code))
        leave(common);
    progress.visitLimit = blocks * DCTSIZE2 * MaxJpegCoefficientPasses;
    source->limit = file.size();
    source->coded = true;

    info.scale_num =
        unsigned(output.scaleEighths(QSize(int(info.image_width), int(info.image_height))));
    info.scale_denom = 8;
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk                                            ? JCS_CMYK
                           : QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRA
                                                                           : JCS_EXT_ARGB;
    jpeg_calc_output_dimensions(&info);
    if (output.shrinksByHalf(QSize(int(info.output_width), int(info.output_height)))) {
        info.do_fancy_upsampling = FALSE;
        info.dct_method = JDCT_IFAST;
    }
    // The rest of the budget is the decoder's: a picture whose scans must all be held at once
    // (progressive, or one scan per colour) and that does not fit in it is refused, since
    // libjpeg then asks for a backing store, which this build of it does not have.
    const qint64 outputBytes =
        output.bytesFor(QSize(int(info.output_width), int(info.output_height)));
    if (outputBytes >= budget)
        leave(common);
    info.mem->max_memory_to_use = long(budget - outputBytes);
    jpeg_start_decompress(&info);

    const QSize kept = output.keptSize(QSize(int(info.output_width), int(info.output_height)));
    if (kept.width() < int(info.output_width)) {
        JDIMENSION left = 0;
        JDIMENSION width = JDIMENSION(kept.width());
        jpeg_crop_scanline(&info, &left, &width);
    }
    if (!output.begin(QSize(int(info.output_width), int(info.output_height)), cmyk))
        leave(common);
    const int batch = std::max(1, info.rec_outbuf_height);
    JSAMPARRAY rows = (*info.mem->alloc_sarray)(
        common, JPOOL_IMAGE, info.output_width * JDIMENSION(info.output_components),
        JDIMENSION(batch));
    auto* inPlace = static_cast<JSAMPARRAY>(
        (*info.mem->alloc_small)(common, JPOOL_IMAGE, sizeof(JSAMPROW) * std::size_t(batch)));
    // Rows past the kept part are never decoded: the decode stops there.
    while (int(info.output_scanline) < kept.height()) {
        const int top = int(info.output_scanline);
        bool direct = true;
        for (int row = 0; row < batch; ++row) {
            inPlace[row] = output.rowInPlace(top + row, int(info.output_width));
            // Rows past the picture's last, which libjpeg does not write, go to its own buffer.
            direct = direct && (inPlace[row] != nullptr || row > 0);
            if (!inPlace[row])
                inPlace[row] = rows[row];
        }
        const int read =
            int(jpeg_read_scanlines(&info, direct ? inPlace : rows, JDIMENSION(batch)));
        if (read <= 0)
            break;
        for (int row = 0; !direct && row < read; ++row)
            output.addRow(rows[row], int(info.output_width), top + row);
        output.rowsDone(top + read);
    }
    const bool complete = !completeOnly || endMarkerFollows(&info);
    jpeg_destroy_decompress(&info);
    return complete;
}

} // namespace

QImage decodeJpeg(const PictureFile& file, const QByteArray& head, const PictureRequest& request,
                  qint64 budget, const LoadGuard& guard)
{
    JpegOutput output(request);
    if (!decodeWith(file, head, output, budget, guard, request.completeOnly))
        return {};
    return output.finish();
}

} // namespace zelvo
