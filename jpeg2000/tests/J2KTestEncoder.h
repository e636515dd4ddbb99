// Lossless JPEG 2000 encoding in memory with OpenJPEG's encoder, for tests
// that need real files and code streams with known samples.
#ifndef CARTON_J2K_TEST_ENCODER_H
#define CARTON_J2K_TEST_ENCODER_H

#include <gtest/gtest.h>
#include <openjpeg.h>

#include <cstring>
#include <vector>

namespace J2KTest {

// A growable memory sink for the encoder, which seeks back to patch box
// lengths in JP2 files.
struct Sink {
    std::vector<unsigned char> bytes;
    size_t position = 0;
};

inline OPJ_SIZE_T SinkWrite(void* data, OPJ_SIZE_T count, void* user)
{
    Sink* sink = static_cast<Sink*>(user);
    if (sink->position + count > sink->bytes.size()) {
        sink->bytes.resize(sink->position + count);
    }
    std::memcpy(sink->bytes.data() + sink->position, data, count);
    sink->position += count;
    return count;
}

inline OPJ_OFF_T SinkSkip(OPJ_OFF_T count, void* user)
{
    static_cast<Sink*>(user)->position += static_cast<size_t>(count);
    return count;
}

inline OPJ_BOOL SinkSeek(OPJ_OFF_T offset, void* user)
{
    static_cast<Sink*>(user)->position = static_cast<size_t>(offset);
    return OPJ_TRUE;
}

inline void Quiet(const char*, void*)
{
}

// A test picture: planes of samples, one per component, with subsampling.
struct Planes {
    unsigned int width, height, prec;
    unsigned int dx = 1, dy = 1;  // subsampling of every component after the first
    OPJ_COLOR_SPACE space = OPJ_CLRSPC_SRGB;
    std::vector<std::vector<int>> samples;
};

inline unsigned int CompW(const Planes& p, unsigned int i) { return i ? (p.width + p.dx - 1) / p.dx : p.width; }
inline unsigned int CompH(const Planes& p, unsigned int i) { return i ? (p.height + p.dy - 1) / p.dy : p.height; }

// Encodes the planes losslessly (reversible wavelet, one layer) with the
// given number of resolution levels; the colour transform is used for three
// full-size components.
inline std::vector<unsigned char> Encode(const Planes& p, OPJ_CODEC_FORMAT format, int resolutions)
{
    unsigned int count = static_cast<unsigned int>(p.samples.size());
    std::vector<opj_image_cmptparm_t> params(count);
    for (unsigned int i = 0; i < count; ++i) {
        std::memset(&params[i], 0, sizeof(params[i]));
        params[i].dx = i ? p.dx : 1;
        params[i].dy = i ? p.dy : 1;
        params[i].w = CompW(p, i);
        params[i].h = CompH(p, i);
        params[i].prec = p.prec;
        params[i].sgnd = 0;
    }
    opj_image_t* image = opj_image_create(count, params.data(), p.space);
    image->x1 = p.width;
    image->y1 = p.height;
    for (unsigned int i = 0; i < count; ++i) {
        std::memcpy(image->comps[i].data, p.samples[i].data(), p.samples[i].size() * sizeof(int));
    }
    opj_cparameters_t cp;
    opj_set_default_encoder_parameters(&cp);
    cp.tcp_numlayers = 1;
    cp.tcp_rates[0] = 0;
    cp.cp_disto_alloc = 1;
    cp.numresolution = resolutions;
    cp.tcp_mct = (count == 3 && p.dx == 1 && p.dy == 1) ? 1 : 0;
    opj_codec_t* codec = opj_create_compress(format);
    opj_set_error_handler(codec, Quiet, nullptr);
    opj_set_warning_handler(codec, Quiet, nullptr);
    opj_set_info_handler(codec, Quiet, nullptr);
    Sink sink;
    opj_stream_t* stream = opj_stream_create(4096, OPJ_FALSE);
    opj_stream_set_user_data(stream, &sink, nullptr);
    opj_stream_set_write_function(stream, SinkWrite);
    opj_stream_set_skip_function(stream, SinkSkip);
    opj_stream_set_seek_function(stream, SinkSeek);
    bool ok = opj_setup_encoder(codec, &cp, image) && opj_start_compress(codec, image, stream)
              && opj_encode(codec, stream) && opj_end_compress(codec, stream);
    opj_stream_destroy(stream);
    opj_destroy_codec(codec);
    opj_image_destroy(image);
    EXPECT_TRUE(ok);
    return sink.bytes;
}

} // namespace J2KTest

#endif
