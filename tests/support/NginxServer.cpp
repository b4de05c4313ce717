#include "NginxServer.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <grp.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace {

const char* const kNginx = "/usr/sbin/nginx";

int FreePort() {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
        throw std::runtime_error("no free port");
    ::close(fd);
    return ntohs(addr.sin_port);
}

bool Accepts(int port) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(port));
    bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return ok;
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// utime + stime of one process and its reaped children, in clock ticks; the fields after the
// command name, which may hold spaces, so counted from its closing parenthesis.
long long Ticks(const std::string& stat, pid_t* parent) {
    auto close = stat.rfind(')');
    if (close == std::string::npos) return 0;
    std::istringstream in(stat.substr(close + 2));
    std::string field;
    long long total = 0;
    for (int i = 3; in >> field; ++i) {
        if (i == 4 && parent) *parent = static_cast<pid_t>(std::atoll(field.c_str()));
        if (i >= 14 && i <= 17) total += std::atoll(field.c_str());
        if (i == 17) break;
    }
    return total;
}

}  // namespace

NginxServer::NginxServer() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "qvscale-nginx-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    dir_ = pattern;
    root_ = dir_ + "/root";
    for (const char* sub : {"/root", "/logs", "/temp", "/auth"})
        std::filesystem::create_directories(dir_ + sub);
    port_ = FreePort();
}

NginxServer::~NginxServer() {
    Stop();
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

void NginxServer::AddUser(const std::string& name, const std::string& password) {
    users_.emplace_back(name, password);
}

void NginxServer::Grant(const std::string& prefix, const std::vector<std::string>& readers,
                        const std::vector<std::string>& writers) {
    rules_.push_back({prefix, readers, writers});
}

void NginxServer::SetFailing(bool failing) {
    failing_ = failing;
}

void NginxServer::WriteConfig() {
    auto passwords = [&](const std::string& file, const std::vector<std::string>& names) {
        std::string text;
        for (const auto& name : names)
            for (const auto& [user, password] : users_)
                if (user == name) text += user + ":{PLAIN}" + password + "\n";
        WriteText(file, text);
    };
    std::ostringstream conf;
    // Run as root, the workers would drop to nobody and could not write the root.
    if (geteuid() == 0) {
        const passwd* pw = getpwuid(geteuid());
        const group* gr = getgrgid(getegid());
        conf << "user " << (pw ? pw->pw_name : "root") << " " << (gr ? gr->gr_name : "root")
             << ";\n";
    }
    conf << "daemon off;\nworker_processes 1;\npid " << dir_ << "/nginx.pid;\n"
         << "error_log " << dir_ << "/logs/error.log warn;\n"
         << "events { worker_connections 1024; }\n"
         << "http {\n"
         << "  default_type application/octet-stream;\n"
         << "  types { text/html html; application/json json; text/csv csv; }\n"
         << "  log_format hub '$request_method $uri $status $remote_user $bytes_sent "
            "$request_length';\n"
         << "  access_log " << dir_ << "/logs/access.log hub;\n";
    for (const char* kind : {"client_body", "proxy", "fastcgi", "uwsgi", "scgi"})
        conf << "  " << kind << "_temp_path " << dir_ << "/temp/" << kind << ";\n";
    conf << "  client_max_body_size 0;\n"
         << "  server {\n"
         << "    listen 127.0.0.1:" << port_ << ";\n"
         << "    root " << root_ << ";\n"
         << "    dav_methods PUT;\n"
         << "    create_full_put_path on;\n"
         << "    dav_access user:rw group:r all:r;\n";
    if (failing_) conf << "    return 500;\n";
    conf << "    location / { }\n";
    for (std::size_t i = 0; i < rules_.size(); ++i) {
        const Rule& rule = rules_[i];
        std::string any = dir_ + "/auth/any" + std::to_string(i);
        std::string write = dir_ + "/auth/write" + std::to_string(i);
        std::vector<std::string> everyone = rule.readers;
        everyone.insert(everyone.end(), rule.writers.begin(), rule.writers.end());
        passwords(any, everyone);
        passwords(write, rule.writers);
        conf << "    location ^~ " << rule.prefix << " {\n"
             << "      auth_basic \"hub\";\n"
             << "      auth_basic_user_file " << any << ";\n"
             << "      limit_except GET HEAD { auth_basic_user_file " << write << "; }\n"
             << "    }\n";
    }
    conf << "  }\n}\n";
    WriteText(dir_ + "/nginx.conf", conf.str());
}

bool NginxServer::Start() {
    if (pid_) return true;
    WriteConfig();
    std::string prefix = dir_ + "/";
    std::string conf = dir_ + "/nginx.conf";
    std::string errors = dir_ + "/logs/error.log";
    std::vector<std::string> args = {kNginx, "-p", prefix, "-c", conf, "-e", errors};
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, kNginx, nullptr, nullptr, argv.data(), environ) != 0) return false;
    pid_ = pid;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = 0;
            return false;
        }
        if (Accepts(port_)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    Stop();
    return false;
}

void NginxServer::Stop() {
    if (!pid_) return;
    ::kill(pid_, SIGTERM);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    int status = 0;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid_ = 0;
}

std::string NginxServer::Url() const {
    return "http://127.0.0.1:" + std::to_string(port_);
}

double NginxServer::CpuSeconds() const {
    if (!pid_) return 0;
    long long ticks = Ticks(ReadText("/proc/" + std::to_string(pid_) + "/stat"), nullptr);
    if (DIR* proc = opendir("/proc")) {
        while (dirent* entry = readdir(proc)) {
            pid_t child = static_cast<pid_t>(std::atoll(entry->d_name));
            if (child <= 0 || child == pid_) continue;
            pid_t parent = 0;
            long long own =
                Ticks(ReadText(std::string("/proc/") + entry->d_name + "/stat"), &parent);
            if (parent == pid_) ticks += own;
        }
        closedir(proc);
    }
    return static_cast<double>(ticks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

std::vector<NginxServer::Request> NginxServer::Requests() const {
    std::vector<Request> requests;
    std::istringstream lines(ReadText(dir_ + "/logs/access.log"));
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        Request r;
        if (fields >> r.method >> r.path >> r.status >> r.user >> r.bytesSent >> r.bytesReceived)
            requests.push_back(r);
    }
    return requests;
}

void NginxServer::ClearRequests() {
    // nginx keeps the file open and appends, so it is cut short rather than replaced.
    std::error_code ignored;
    std::filesystem::resize_file(dir_ + "/logs/access.log", 0, ignored);
}

std::string NginxServer::LastError() const {
    return ReadText(dir_ + "/logs/error.log");
}
