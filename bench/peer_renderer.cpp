// The SDL2 software-renderer peer of the frame benchmark. Its level, tiles and pictures come
// from the same files as the game's, decoded by the asset tools' readers.
#include "bench/peer_renderer.h"

#include <SDL.h>

#include <cmath>
#include <ctime>
#include <exception>

#include "embedded_images.h"
#include "tools/formats/image_files.h"
#include "tools/level/map_file.h"

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr int kColumns = 20;  // the game's Map_DrawLayer(layer, 20, 15)
constexpr int kRows = 15;
constexpr int kPlayerX = 320, kPlayerY = 240;
constexpr int kPlayerWidth = 28, kPlayerHeight = 32;
constexpr int kGlyphWidth = 8, kGlyphHeight = 16;

int64_t Clock(clockid_t clock) {
    timespec ts;
    clock_gettime(clock, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}
int64_t Now() {
    return Clock(CLOCK_MONOTONIC);
}

// ARGB pixels of a picture; black becomes fully transparent when `keyed`.
std::vector<uint32_t> Argb(const kavro_art::Canvas& c, int x0, int y0, int w, int h, bool keyed) {
    std::vector<uint32_t> out(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            kavro_art::Rgb p = c.Get(x0 + x, y0 + y);
            uint32_t rgb = (uint32_t{p.r} << 16) | (uint32_t{p.g} << 8) | p.b;
            out[static_cast<size_t>(y) * w + x] = (keyed && rgb == 0) ? 0u : (0xFF000000u | rgb);
        }
    return out;
}

std::string FilePart(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

struct PeerRenderer::Impl {
    SDL_Surface* screen = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* background = nullptr;
    SDL_Texture* player = nullptr;
    std::vector<SDL_Texture*> tiles;
    kavro_level::Map level{32, 0, 0, 0};
    kavro_level::Map start_level{32, 0, 0, 0};
    std::vector<float> anim_position;  // per cell, as the map engine keeps it

    SDL_Texture* Texture(const std::vector<uint32_t>& argb, int w, int h, SDL_BlendMode mode) {
        SDL_Texture* t =
            SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, w, h);
        if (!t) return nullptr;
        SDL_UpdateTexture(t, nullptr, argb.data(), w * 4);
        SDL_SetTextureBlendMode(t, mode);
        return t;
    }

    ~Impl() {
        for (SDL_Texture* t : tiles) SDL_DestroyTexture(t);
        if (background) SDL_DestroyTexture(background);
        if (player) SDL_DestroyTexture(player);
        if (renderer) SDL_DestroyRenderer(renderer);
        if (screen) SDL_FreeSurface(screen);
    }

    size_t CellIndex(int x, int y, int layer) const {
        return (static_cast<size_t>(layer) * (level.last_row() + 1) + y) *
                   (level.last_column() + 1) +
               x;
    }

    // One layer as the map engine draws it: every visible cell with a tile, then its
    // animation step. Returns the cells drawn.
    int32_t DrawLayer(int layer, const BenchFrameRecord& f) {
        int32_t drawn = 0;
        for (int j = 0; j <= kRows; ++j) {
            for (int i = 0; i <= kColumns; ++i) {
                int x = f.first_column + i, y = f.first_row + j;
                if (!level.Inside(x, y, layer)) continue;
                kavro_level::Cell& cell = level.At(x, y, layer);
                if (cell.tile >= 0) {
                    if (static_cast<size_t>(cell.tile) < tiles.size()) {
                        SDL_Texture* t = tiles[cell.tile];
                        SDL_SetTextureAlphaMod(t, static_cast<Uint8>(cell.alpha & 0xFF));
                        SDL_Rect dst{f.offset_x + 32 * i, f.offset_y + 32 * j, 32, 32};
                        SDL_RenderCopy(renderer, t, nullptr, &dst);
                    }
                    ++drawn;
                }
                if (cell.animated == 1) {
                    float& position = anim_position[CellIndex(x, y, layer)];
                    position = position + cell.anim_speed;
                    int tile = cell.first_frame + static_cast<int>(position);
                    if (tile > cell.last_frame) {
                        position = 0.0f;
                        tile = cell.first_frame;
                    }
                    cell.tile = static_cast<int16_t>(tile);
                }
            }
        }
        return drawn;
    }
};

PeerRenderer::PeerRenderer() : impl_(new Impl) {}
PeerRenderer::~PeerRenderer() {
    delete impl_;
}

bool PeerRenderer::Load(const std::string& run_dir, std::string* error) {
    Impl& m = *impl_;
    try {
        using namespace kavro_formats;
        m.level = kavro_level::ReadMapFile(ReadFileBytes(run_dir + "/Kavro.Map"));
        m.start_level = m.level;
        m.anim_position.assign(static_cast<size_t>(m.level.last_column() + 1) *
                                   (m.level.last_row() + 1) * (m.level.last_layer() + 1),
                               0.0f);
        m.screen = SDL_CreateRGBSurfaceWithFormat(0, kScreenWidth, kScreenHeight, 32,
                                                  SDL_PIXELFORMAT_ARGB8888);
        if (!m.screen) throw std::runtime_error(SDL_GetError());
        m.renderer = SDL_CreateSoftwareRenderer(m.screen);
        if (!m.renderer) throw std::runtime_error(SDL_GetError());

        const int t = m.level.tile_size();
        for (const std::string& name : m.level.tilesets) {
            kavro_art::Canvas sheet = DecodePng(ReadFileBytes(run_dir + "/GFX/" + FilePart(name)));
            for (int row = 0; row < sheet.height() / t; ++row)
                for (int col = 0; col < sheet.width() / t; ++col) {
                    SDL_Texture* tile = m.Texture(Argb(sheet, col * t, row * t, t, t, true), t, t,
                                                  SDL_BLENDMODE_BLEND);
                    if (!tile) throw std::runtime_error(SDL_GetError());
                    m.tiles.push_back(tile);
                }
        }
        Bytes jpeg(kBackground, kBackground + kBackgroundSize);
        kavro_art::Canvas background = DecodeJpeg(jpeg);
        m.background =
            m.Texture(Argb(background, 0, 0, background.width(), background.height(), false),
                      background.width(), background.height(), SDL_BLENDMODE_NONE);
        Bytes bmp(kPlayerSheet, kPlayerSheet + kPlayerSheetSize);
        kavro_art::Canvas sheet = DecodeBmp24(bmp);
        m.player = m.Texture(Argb(sheet, 0, 0, sheet.width(), sheet.height(), true), sheet.width(),
                             sheet.height(), SDL_BLENDMODE_BLEND);
        if (!m.background || !m.player) throw std::runtime_error(SDL_GetError());
    } catch (const std::exception& e) {
        *error = e.what();
        return false;
    }
    return true;
}

PeerTimes PeerRenderer::Run(const std::vector<BenchFrameRecord>& frames) {
    Impl& m = *impl_;
    m.level = m.start_level;
    std::fill(m.anim_position.begin(), m.anim_position.end(), 0.0f);
    PeerTimes times;
    int bg_w = 0, bg_h = 0;
    SDL_QueryTexture(m.background, nullptr, nullptr, &bg_w, &bg_h);
    int64_t start = Now();
    int64_t mark = start;
    int64_t cpu_start = Clock(CLOCK_THREAD_CPUTIME_ID);
    bool timing = false;
    auto book = [&](BenchPhase phase) {
        int64_t now = Now();
        times.phase_ns[static_cast<int>(phase)] += now - mark;
        mark = now;
    };
    for (const BenchFrameRecord& f : frames) {
        SDL_Rect bg{f.background_x, f.background_y, bg_w, bg_h};
        SDL_RenderCopy(m.renderer, m.background, nullptr, &bg);
        book(BenchPhase::kBackground);

        int32_t drawn = m.DrawLayer(0, f) + m.DrawLayer(1, f);
        if (drawn != f.quads) ++times.quad_mismatches;
        if (f.collected_column >= 0 && m.level.Inside(f.collected_column, f.collected_row, 1)) {
            kavro_level::Cell& taken = m.level.At(f.collected_column, f.collected_row, 1);
            taken.tile = -1;
            taken.animated = 0;
        }
        book(BenchPhase::kTiles);

        SDL_Rect src{f.player_clip_x, f.player_clip_y, kPlayerWidth, kPlayerHeight};
        SDL_Rect dst{kPlayerX, kPlayerY, kPlayerWidth, kPlayerHeight};
        SDL_RenderCopy(m.renderer, m.player, &src, &dst);
        book(BenchPhase::kSprites);
        // A frame cut short by a level restart draws no texts and is not presented.
        if (!f.presented) continue;

        SDL_SetRenderDrawColor(m.renderer, 0, 0, 0, 255);
        for (int i = 0; i < f.text_count && i < kBenchTextLines; ++i) {
            const BenchTextLine& line = f.texts[i];
            SDL_Rect box{line.x, line.y, kGlyphWidth * line.length, kGlyphHeight};
            SDL_RenderFillRect(m.renderer, &box);
        }
        book(BenchPhase::kTexts);

        SDL_RenderPresent(m.renderer);
        book(BenchPhase::kPresent);
        // Timing starts after the first presented frame, as the game's does.
        if (!timing) {
            timing = true;
            times = PeerTimes{};
            start = mark = Now();
            cpu_start = Clock(CLOCK_THREAD_CPUTIME_ID);
            continue;
        }
        ++times.presents;
    }
    times.total_ns = Now() - start;
    times.cpu_ns = Clock(CLOCK_THREAD_CPUTIME_ID) - cpu_start;
    return times;
}

std::vector<uint32_t> PeerRenderer::Pixels() const {
    const SDL_Surface* s = impl_->screen;
    std::vector<uint32_t> out(static_cast<size_t>(kScreenWidth) * kScreenHeight);
    for (int y = 0; y < kScreenHeight; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(s->pixels) +
                                                            static_cast<size_t>(y) * s->pitch);
        std::copy(row, row + kScreenWidth, out.begin() + static_cast<size_t>(y) * kScreenWidth);
    }
    return out;
}
