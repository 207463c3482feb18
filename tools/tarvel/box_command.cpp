// tarvel box: a simulated interface box on a pseudo-terminal. The first line
// is the device to open; then one line for each change of the box's image.
// Standard input sets its inputs, values and sensor IDs. It runs until it is
// interrupted or terminated.

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "boxes/box_registry.h"
#include "boxes/box_session.h"
#include "boxes/chip_downloader.h"
#include "chip/chip_data.h"
#include "interfaces/interface_model.h"
#include "interfaces/model_traits.h"
#include "platform/byte_link.h"
#include "tool_common.h"

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#endif
#ifdef __linux__
#include <sys/inotify.h>
#endif

namespace tarvel::tool {

namespace {

struct BoxOptions {
    int model = 0;
    int subModel = 0;
    std::string sensorsDir = defaultSensorsDir();
    boxes::BoxFaults faults;
    boxes::DownloadFaults download;
};

// The downloader's misbehaviours, each with its number: the address whose
// echo is wrong, the chip byte claimed, the connect requests answered as a
// running program.
bool takeDownloadFault(const std::vector<std::string>& args, std::size_t& i, BoxOptions& o,
                       bool& bad)
{
    const std::string& a = args[i];
    int* field = a == "--wrong-address" ? &o.download.wrongAddressAt
                 : a == "--wrong-byte"  ? &o.download.wrongByteAt
                 : a == "--chip-byte"   ? &o.download.chipByte
                 : a == "--running"     ? &o.download.runningRequests
                                        : nullptr;
    if (!field) return false;
    const auto n = i + 1 < args.size() ? parseInt(args[++i]) : std::nullopt;
    bad = !n || *n < 0 || *n > 255;
    if (!bad) *field = *n;
    return true;
}

bool parseBoxOptions(const std::vector<std::string>& args, BoxOptions& o)
{
    bool modelGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool bad = false;
        if (takeDownloadFault(args, i, o, bad)) {
            if (bad) return false;
        } else if (a == "--sensors" && i + 1 < args.size()) {
            o.sensorsDir = args[++i];
        } else if (a == "--silent") {
            o.faults.silent = true;
        } else if (a == "--wrong-ack") {
            o.faults.wrongAck = true;
        } else if (a == "--garbage") {
            o.faults.garbage = true;
        } else if (a == "--stop-after" && i + 1 < args.size()) {
            const auto n = parseInt(args[++i]);
            if (!n || *n < 0) return false;
            o.faults.stopAfter = *n;
        } else if (a.rfind("--", 0) == 0 || modelGiven) {
            return false;
        } else if (a == "firmata") {
            o.model = ModelFirmata;  // the board is also known by its firmware
            modelGiven = true;
        } else {
            if (!parseModel(a, o.model, o.subModel)) return false;
            modelGiven = true;
        }
    }
    return modelGiven;
}

#ifndef _WIN32

volatile std::sig_atomic_t stopRequested = 0;

// The bytes a streaming box lets wait on the line (the input queue of the
// profile a streaming box is opened with).
constexpr int kLineQueueLimit = kLegoProfile.inputQueue;

void requestStop(int)
{
    stopRequested = 1;
}

// The box's end of a pseudo-terminal; the program opens the other end. The
// box keeps that end open too, in raw mode, so the line takes no bytes for
// itself and the box hears nothing hang up between the program's opens.
struct Pty {
    int master = -1;
    int slave = -1;
    std::string device;

    bool open()
    {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return false;
        const char* name = ptsname(master);
        if (!name) return false;
        device = name;
        slave = ::open(name, O_RDWR | O_NOCTTY);
        if (slave < 0) return false;
        termios raw{};
        if (tcgetattr(slave, &raw) != 0) return false;
        cfmakeraw(&raw);
        return tcsetattr(slave, TCSANOW, &raw) == 0;
    }
    // The bytes sent to the program that it has not read yet.
    int waiting() const
    {
        int n = 0;
        return ioctl(slave, FIONREAD, &n) == 0 ? n : 0;
    }
    void write(const std::vector<std::uint8_t>& bytes) const
    {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(master, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return;
            done += static_cast<std::size_t>(n);
        }
    }
};

std::int64_t nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Lines of standard input, as they complete.
class InputLines {
public:
    bool open() const { return open_; }
    // Reads what waits; false once the input has ended.
    void take(std::vector<std::string>& lines)
    {
        char buffer[256];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) return;
        if (n <= 0) {
            open_ = false;  // ended (or a background job that may not read)
            return;
        }
        pending_.append(buffer, static_cast<std::size_t>(n));
        for (std::size_t end; (end = pending_.find('\n')) != std::string::npos;) {
            std::string line = pending_.substr(0, end);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
            pending_.erase(0, end + 1);
        }
    }

private:
    bool open_ = true;
    std::string pending_;
};

// Tells when the program opens the line: a board restarts then, as the
// opening of its port resets it. Where the system cannot tell, the box never
// hears of it (and a board simply answers the version query).
class OpenWatch {
public:
    explicit OpenWatch(const std::string& device)
    {
#ifdef __linux__
        fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (fd_ >= 0 && inotify_add_watch(fd_, device.c_str(), IN_OPEN) < 0) {
            ::close(fd_);
            fd_ = -1;
        }
#else
        (void)device;
#endif
    }
    ~OpenWatch()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    OpenWatch(const OpenWatch&) = delete;
    OpenWatch& operator=(const OpenWatch&) = delete;

    int fd() const
    {
        return fd_;
    }
    // The opens noticed since the last call.
    int take() const
    {
        int opens = 0;
#ifdef __linux__
        alignas(inotify_event) char buffer[1024];
        for (ssize_t n; (n = ::read(fd_, buffer, sizeof buffer)) > 0;)
            for (ssize_t off = 0; off < n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(buffer + off);
                if (e->mask & IN_OPEN) ++opens;
                off += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
            }
#endif
        return opens;
    }

private:
    int fd_ = -1;
};

int serve(boxes::BoxSession& session, const Pty& pty)
{
    InputLines input;
    const OpenWatch opens(pty.device);
    const int period = session.box().streamPeriodMs();
    std::int64_t nextFrame = nowMs() + period;
    std::vector<std::uint8_t> buffer(512);
    while (!stopRequested) {
        pollfd fds[3] = {
            {pty.master, POLLIN, 0}, {opens.fd(), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        const int waitMs =
            period > 0 ? static_cast<int>(std::max<std::int64_t>(0, nextFrame - nowMs())) : 200;
        const int ready = poll(fds, input.open() ? 3 : 2, waitMs);
        if (ready < 0 && errno != EINTR) return 1;
        // An open comes before anything the program writes after it.
        if (ready > 0 && (fds[1].revents & POLLIN) && opens.take() > 0) session.lineOpened();
        if (ready > 0 && (fds[0].revents & POLLIN)) {
            const ssize_t n = ::read(pty.master, buffer.data(), buffer.size());
            if (n > 0)
                pty.write(session.receive(
                    std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(n))));
        }
        if (ready > 0 && input.open() && (fds[2].revents & (POLLIN | POLLHUP))) {
            std::vector<std::string> lines;
            input.take(lines);
            for (const std::string& line : lines)
                if (!line.empty() && !session.box().command(line))
                    std::cerr << "Orden desconocida: " << line << '\n';
        }
        if (period > 0 && nowMs() >= nextFrame) {
            // Like a driver's input queue, the line holds only so much: while
            // nobody reads, the frames that do not fit are lost (and the box
            // never waits on a full line).
            if (pty.waiting() < kLineQueueLimit) pty.write(session.stream());
            nextFrame = std::max(nextFrame + period, nowMs());
        }
    }
    return 0;
}

#endif

}  // namespace

int boxCommand(const std::vector<std::string>& args)
{
    BoxOptions o;
    if (!parseBoxOptions(args, o)) return usage();
    auto print = [](const std::string& line) { std::cout << line << std::endl; };
    // A chip board or chip is the entry of the chip data file its sub-model names.
    ChipData chips;
    if (usesChipEntry(o.model))
        if (Result<ChipData> read = loadChipData(o.sensorsDir)) chips = std::move(read.value());
    std::unique_ptr<boxes::SimulatedBox> box =
        boxes::makeBox(o.model, o.subModel, print, chips.lookup(o.subModel));
    if (box && box->downloader()) box->downloader()->setFaults(o.download);
    if (!box) {
        std::cerr << "No hay caja simulada para el interfaz " << o.model << ':' << o.subModel
                  << ".\n";
        return 1;
    }
#ifdef _WIN32
    std::cerr << "La caja simulada necesita un pseudo-terminal, que este sistema no tiene.\n";
    return 1;
#else
    Pty pty;
    if (!pty.open()) {
        std::cerr << "No se puede abrir un pseudo-terminal.\n";
        return 1;
    }
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    std::signal(SIGTTIN, SIG_IGN);  // in the background, stdin simply ends
    std::cout << pty.device << std::endl;
    boxes::BoxSession session(*box, o.faults);
    return serve(session, pty);
#endif
}

}  // namespace tarvel::tool
