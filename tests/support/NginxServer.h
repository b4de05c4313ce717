#pragma once
// Debian's nginx (package nginx-light) run as a child process on 127.0.0.1 at a free port, with
// its configuration, temp, log and pid folders and its served root all inside a temp dir of its
// own; no system file is read or written. It serves GET with ETags and takes WebDAV PUT (missing
// folders made). Without Grant() every path is open to anyone; a granted prefix asks for basic
// authentication. Stopped and reaped in the destructor, and its folder removed.

#include <sys/types.h>

#include <string>
#include <vector>

class NginxServer {
  public:
    struct Request {
        std::string method;
        std::string path;  // as asked, without the query
        int status = 0;
        std::string user;             // "-" when none was given
        long long bytesSent = 0;      // headers and body
        long long bytesReceived = 0;  // the request's line, headers and body
    };

    // Makes the folders and picks the port; Start() runs it.
    NginxServer();
    ~NginxServer();
    NginxServer(const NginxServer&) = delete;
    NginxServer& operator=(const NginxServer&) = delete;

    // Users for basic authentication (written to htpasswd files as {PLAIN}).
    void AddUser(const std::string& name, const std::string& password);
    // Paths starting with prefix (e.g. "/lists/s1/" or "/status/s1.json") need one of the
    // readers or writers for GET/HEAD, and one of the writers for any other method. Call before
    // Start(), or Restart() after.
    void Grant(const std::string& prefix, const std::vector<std::string>& readers,
               const std::vector<std::string>& writers);
    // Every request answered with 500 from the next Start()/Restart() on.
    void SetFailing(bool failing);

    // Starts nginx and waits (up to 10 s) until it accepts connections; false when it did not,
    // with nginx's error log in LastError().
    bool Start();
    // Stops it (SIGQUIT, then SIGKILL after 5 s) and reaps it; the port stays this server's.
    void Stop();
    bool Restart() {
        Stop();
        return Start();
    }

    // "http://127.0.0.1:PORT" without a trailing slash.
    std::string Url() const;
    int Port() const { return port_; }
    // The folder served at "/"; files written here are served at once.
    const std::string& Root() const { return root_; }
    // The master process (0 when stopped).
    pid_t Pid() const { return pid_; }
    // CPU time so far of the master and its workers, in seconds, from /proc/PID/stat.
    double CpuSeconds() const;
    // The requests answered since it was made or since the last ClearRequests(), oldest first.
    std::vector<Request> Requests() const;
    void ClearRequests();
    std::string LastError() const;

  private:
    void WriteConfig();

    std::string dir_;
    std::string root_;
    int port_ = 0;
    pid_t pid_ = 0;
    bool failing_ = false;
    struct Rule {
        std::string prefix;
        std::vector<std::string> readers;
        std::vector<std::string> writers;
    };
    std::vector<Rule> rules_;
    std::vector<std::pair<std::string, std::string>> users_;
};
