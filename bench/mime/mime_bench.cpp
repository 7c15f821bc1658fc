// Throughput of the MIME parser on generated multipart mails of 4 and 32 MB, its growth per
// byte, and the same 32 MB source parsed by Python's standard email parser in the same run.
#include "mail/mime_part.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

// A multipart/mixed mail whose parts alternate between plain text with short lines (some
// in UTF-8 Japanese), plain text with long lines (past the 64 KiB piece size now and then)
// and a nested multipart/alternative; parts are appended until `bytes` is reached.
std::string generateMail(std::size_t bytes) {
    std::string mail = "From: a@example.jp\r\nSubject: bench\r\nMIME-Version: 1.0\r\n"
                       "Content-Type: multipart/mixed;\r\n\tboundary=\"outer-b\"\r\n\r\n"
                       "This is a multi-part message in MIME format.\r\n";
    const std::string shortLine = "今日は良い天気ですね。short line of text\r\n";
    unsigned seed = 1;
    for (int n = 0; mail.size() < bytes; ++n) {
        mail += "--outer-b\r\n";
        switch (n % 3) {
        case 0:
            mail += "Content-Type: text/plain; charset=UTF-8\r\n\r\n";
            for (int i = 0; i < 400; ++i)
                mail += shortLine;
            break;
        case 1:
            mail += "Content-Type: text/plain; charset=UTF-8\r\n\r\n";
            for (int i = 0; i < 8; ++i) {
                seed = seed * 1103515245u + 12345u;
                mail += std::string(200 + seed % 90000, static_cast<char>('a' + i)) + "\r\n";
            }
            break;
        default:
            mail += "Content-Type: multipart/alternative; boundary=inner\r\n\r\n--inner\r\n"
                    "Content-Type: text/plain\r\n\r\n";
            for (int i = 0; i < 200; ++i)
                mail += shortLine;
            mail += "--inner\r\nContent-Type: text/html\r\n\r\n";
            for (int i = 0; i < 100; ++i)
                mail += "<p>" + std::string(120, 'h') + "</p>\r\n";
            mail += "--inner--\r\nepilogue\r\n";
        }
    }
    mail += "--outer-b--\r\n";
    return mail;
}

double secondsToParse(const std::string &source) {
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        auto start = std::chrono::steady_clock::now();
        quill::MimePart part;
        const char *cursor = source.c_str();
        quill::parseMimePart(part, cursor, nullptr);
        quill::destroyMimePart(part);
        std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        best = std::min(best, elapsed.count());
    }
    return best;
}

// Python times only its own parse, not its start-up or the file read.
double pythonSecondsToParse(const std::string &source) {
    char path[] = "/tmp/quill_mime_bench_XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0)
        return -1;
    close(fd);
    std::ofstream(path, std::ios::binary) << source;
    std::string command = "python3 -c 'import sys,time,email\n"
                          "data=open(sys.argv[1],\"rb\").read()\n"
                          "t=time.perf_counter()\nm=email.message_from_bytes(data)\n"
                          "print(time.perf_counter()-t)' ";
    command += path;
    double seconds = -1;
    if (FILE *pipe = popen(command.c_str(), "r")) {
        if (std::fscanf(pipe, "%lf", &seconds) != 1)
            seconds = -1;
        pclose(pipe);
    }
    std::remove(path);
    return seconds;
}

} // namespace

int main() {
    const std::string small = generateMail(4u << 20);
    const std::string large = generateMail(32u << 20);
    const double smallSeconds = secondsToParse(small);
    const double largeSeconds = secondsToParse(large);
    const double pythonSeconds = pythonSecondsToParse(large);

    const double mb = 1024.0 * 1024.0;
    const double smallRate = small.size() / mb / smallSeconds;
    const double largeRate = large.size() / mb / largeSeconds;
    const double growth = (largeSeconds / large.size()) / (smallSeconds / small.size());
    std::printf("parser  4 MB: %.1f MB in %.4f s, %.0f MB/s\n", small.size() / mb, smallSeconds,
                smallRate);
    std::printf("parser 32 MB: %.1f MB in %.4f s, %.0f MB/s\n", large.size() / mb, largeSeconds,
                largeRate);
    std::printf("cost per byte 32 MB / 4 MB: %.2f (limit 1.5)\n", growth);
    bool ok = growth <= 1.5;
    if (pythonSeconds > 0) {
        const double ratio = pythonSeconds / largeSeconds;
        std::printf("python email 32 MB: %.4f s, %.0f MB/s; parser is %.1fx faster (target 10x)\n",
                    pythonSeconds, large.size() / mb / pythonSeconds, ratio);
        ok = ok && ratio >= 10;
    } else {
        std::printf("python email: not measured (python3 not found)\n");
    }
    return ok ? 0 : 1;
}
