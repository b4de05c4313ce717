#include "PortProblemText.h"

#include <pwd.h>
#include <unistd.h>

#include "PortMap.h"

namespace jobs {

namespace {

std::string UserName() {
    const passwd* user = ::getpwuid(::getuid());
    return user && user->pw_name ? user->pw_name : "$USER";
}

std::string Joined(const std::vector<std::string>& names) {
    std::string all;
    for (const auto& name : names) all += (all.empty() ? "" : ", ") + name;
    return all;
}

}  // namespace

std::string PortProblemText(const std::string& port, const serial::OpenDiagnosis& d) {
    // A port given by its path is named once.
    const std::string what =
        port == d.device ? "Устройство " + d.device : "Устройство " + d.device + " для " + port;
    using serial::OpenProblem;
    switch (d.problem) {
        case OpenProblem::None:
            return "Порт " + port + " не открылся, хотя устройство доступно: повторите команду";
        case OpenProblem::NoDevice:
            return what + " не найдено: проверьте, подключён ли адаптер";
        case OpenProblem::Busy:
            return what + " занято другой программой" +
                   (d.holders.empty() ? std::string() : " (" + Joined(d.holders) + ")") +
                   ": закройте её и повторите";
        case OpenProblem::AccessDenied:
            return "Нет доступа к " + (port == d.device ? d.device : d.device + " (" + port + ")") +
                   ": пользователь " + UserName() +
                   " не входит в группу dialout. Добавьте его командой «sudo usermod -aG "
                   "dialout " +
                   UserName() + "» и войдите в систему заново";
        case OpenProblem::NotSerial:
            return what + " — не последовательный порт: настройки линии к нему не применить";
        case OpenProblem::Other:
            break;
    }
    return what + " не открывается: " + d.systemText;
}

std::string PortProblemText(const std::string& port, std::int32_t openError) {
    return PortProblemText(port, serial::DiagnoseOpen(serial::DeviceOfComName(port), openError));
}

}  // namespace jobs
