#include "render_helper.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

extern char** environ;

namespace music {
namespace {

// The form on the pipe: "DSMR", the rate, the frames of the round and of the carry (each a
// 64-bit number of this machine), then the samples of both, 16 bits each.
constexpr char kMagic[4] = {'D', 'S', 'M', 'R'};

struct Header {
    char magic[4];
    std::uint32_t rate;
    std::uint64_t round_frames;
    std::uint64_t carry_frames;
};

bool write_all(int fd, const void* data, std::size_t size) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// Where the bytes read from the helper go: the header, then the round, then the carry.
class PieceReader {
  public:
    explicit PieceReader(int rate) : rate_(rate) {}

    // Takes the next bytes; false when they do not fit the form.
    bool take(const char* bytes, std::size_t size) {
        while (size > 0) {
            const std::size_t room = target_size() - filled_;
            if (room == 0) return false;  // more than the header said
            const std::size_t count = std::min(room, size);
            std::memcpy(target() + filled_, bytes, count);
            filled_ += count;
            bytes += count;
            size -= count;
            if (filled_ == target_size() && !next_part()) return false;
        }
        return true;
    }

    bool complete() const { return part_ == Part::kDone; }
    RenderedPiece take_piece() { return std::move(piece_); }

  private:
    enum class Part { kHeader, kRound, kCarry, kDone };

    char* target() {
        switch (part_) {
            case Part::kHeader:
                return reinterpret_cast<char*>(&header_);
            case Part::kRound:
                return reinterpret_cast<char*>(piece_.round.data());
            case Part::kCarry:
                return reinterpret_cast<char*>(piece_.carry.data());
            case Part::kDone:
                break;
        }
        return nullptr;
    }
    std::size_t target_size() const {
        switch (part_) {
            case Part::kHeader:
                return sizeof header_;
            case Part::kRound:
                return piece_.round.size() * sizeof(std::int16_t);
            case Part::kCarry:
                return piece_.carry.size() * sizeof(std::int16_t);
            case Part::kDone:
                break;
        }
        return 0;
    }

    bool next_part() {
        filled_ = 0;
        if (part_ == Part::kHeader) {
            const auto most = static_cast<std::uint64_t>(kMaxRenderedSeconds * rate_) + 1;
            if (std::memcmp(header_.magic, kMagic, sizeof kMagic) != 0 ||
                header_.rate != static_cast<std::uint32_t>(rate_) || header_.round_frames == 0 ||
                header_.round_frames > most || header_.carry_frames > header_.round_frames) {
                return false;
            }
            piece_.rate = rate_;
            piece_.round.resize(2 * header_.round_frames);
            piece_.carry.resize(2 * header_.carry_frames);
            part_ = Part::kRound;
        } else if (part_ == Part::kRound) {
            part_ = Part::kCarry;
        } else {
            part_ = Part::kDone;
        }
        if (part_ != Part::kDone && target_size() == 0) return next_part();
        return true;
    }

    const int rate_;
    Header header_{};
    RenderedPiece piece_;
    Part part_ = Part::kHeader;
    std::size_t filled_ = 0;
};

struct Pipe {
    int read = -1;
    int write = -1;
    ~Pipe() {
        if (read >= 0) ::close(read);
        if (write >= 0) ::close(write);
    }
    bool open() {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) return false;
        read = ends[0];
        write = ends[1];
        return true;
    }
    void close_write() {
        ::close(write);
        write = -1;
    }
};

}  // namespace

bool write_rendered_piece(int fd, const RenderedPiece& piece) {
    Header header{};
    std::memcpy(header.magic, kMagic, sizeof kMagic);
    header.rate = static_cast<std::uint32_t>(piece.rate);
    header.round_frames = piece.round.size() / 2;
    header.carry_frames = piece.carry.size() / 2;
    return write_all(fd, &header, sizeof header) &&
           write_all(fd, piece.round.data(), piece.round.size() * sizeof(std::int16_t)) &&
           write_all(fd, piece.carry.data(), piece.carry.size() * sizeof(std::int16_t));
}

std::optional<RenderedPiece> render_piece_in_helper(const std::filesystem::path& helper,
                                                    const std::filesystem::path& midi_file,
                                                    const std::filesystem::path& font, int rate,
                                                    const std::atomic<bool>& cancel,
                                                    std::string& error) {
    error.clear();
    Pipe out;
    Pipe err;
    if (!out.open() || !err.open()) {
        error = std::string("파이프를 만들 수 없습니다: ") + std::strerror(errno);
        return std::nullopt;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out.write, 1);
    posix_spawn_file_actions_adddup2(&actions, err.write, 2);
    const std::string rate_text = std::to_string(rate);
    std::string arguments[] = {helper.string(), midi_file.string(), font.string(), rate_text};
    char* argv[] = {arguments[0].data(), arguments[1].data(), arguments[2].data(),
                    arguments[3].data(), nullptr};
    pid_t child = -1;
    const int spawned = posix_spawn(&child, helper.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        error = helper.string() + "을 실행할 수 없습니다: " + std::strerror(spawned);
        return std::nullopt;
    }
    out.close_write();
    err.close_write();

    PieceReader reader(rate);
    bool well_formed = true;
    bool no_memory = false;
    std::string message;
    std::vector<char> buffer(64 * 1024);
    pollfd ends[2] = {{out.read, POLLIN, 0}, {err.read, POLLIN, 0}};
    int open_ends = 2;
    while (open_ends > 0 && !cancel) {
        // A short wait, so that a cancel is seen soon.
        if (::poll(ends, 2, 100) < 0 && errno != EINTR) break;
        for (pollfd& end : ends) {
            if (end.fd < 0 || (end.revents & (POLLIN | POLLHUP | POLLERR)) == 0) continue;
            const ssize_t count = ::read(end.fd, buffer.data(), buffer.size());
            if (count < 0 && errno == EINTR) continue;
            if (count <= 0) {
                end.fd = -1;
                --open_ends;
            } else if (end.fd == out.read) {
                try {
                    if (well_formed) well_formed = reader.take(buffer.data(), count);
                } catch (const std::bad_alloc&) {
                    well_formed = false;
                    no_memory = true;
                }
            } else if (message.size() < 4096) {
                message.append(buffer.data(), static_cast<std::size_t>(count));
            }
        }
    }
    if (cancel) ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (cancel) return std::nullopt;

    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
        message.pop_back();
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        error = !message.empty() ? message
                : WIFSIGNALED(status)
                    ? "음악을 만들다가 멈췄습니다 (신호 " + std::to_string(WTERMSIG(status)) + ")."
                    : "음악을 만들 수 없습니다.";
        return std::nullopt;
    }
    if (no_memory) {
        error = "음악을 담을 메모리가 없습니다.";
        return std::nullopt;
    }
    if (!well_formed || !reader.complete()) {
        error = "음악을 만드는 프로그램이 알 수 없는 것을 보냈습니다.";
        return std::nullopt;
    }
    return reader.take_piece();
}

}  // namespace music
