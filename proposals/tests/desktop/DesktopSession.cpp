// Starting and ending the private X display and window manager of the
// desktop tests, and the xdotool calls that act on it.
#include "DesktopSession.h"

#include <QProcess>
#include <QThread>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <vector>
#include <sys/wait.h>
#include <unistd.h>

namespace desktop_testing {
namespace {

// Starts `program` with `arguments` and its standard streams on /dev/null;
// other open descriptors (Xvfb's ready pipe) are inherited. Answers its id.
pid_t spawn(const char* program, const std::vector<std::string>& arguments) {
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const int devNull = ::open("/dev/null", O_RDWR);
  ::dup2(devNull, STDIN_FILENO);
  ::dup2(devNull, STDOUT_FILENO);
  ::dup2(devNull, STDERR_FILENO);
  ::execvp(program, argv.data());
  ::_exit(127);
}

void end(pid_t& pid) {
  if (pid <= 0) return;
  ::kill(pid, SIGTERM);
  int status = 0;
  ::waitpid(pid, &status, 0);
  pid = -1;
}

}  // namespace

DesktopSession::DesktopSession(QSize screen) {
  started_ = startServer(screen) && startWindowManager();
}

DesktopSession::~DesktopSession() {
  end(windowManager_);
  end(server_);
}

bool DesktopSession::startServer(QSize screen) {
  // Xvfb picks a free display number and writes it to the pipe once it
  // accepts clients.
  int ready[2];
  if (::pipe(ready) != 0) {
    failure_ = QStringLiteral("no pipe");
    return false;
  }
  const std::string geometry = std::to_string(screen.width()) + "x" + std::to_string(screen.height()) + "x24";
  server_ = spawn("Xvfb", {"-displayfd", std::to_string(ready[1]), "-screen", "0", geometry, "-nolisten", "tcp"});
  ::close(ready[1]);
  std::string number;
  pollfd wait{ready[0], POLLIN, 0};
  while (::poll(&wait, 1, 20000) > 0) {
    char c;
    if (::read(ready[0], &c, 1) != 1 || c == '\n') break;
    number += c;
  }
  ::close(ready[0]);
  if (number.empty()) {
    failure_ = QStringLiteral("Xvfb did not start (package xvfb)");
    return false;
  }
  qputenv("DISPLAY", QByteArray(":") + QByteArray::fromStdString(number));
  qputenv("QT_QPA_PLATFORM", "xcb");
  return true;
}

bool DesktopSession::startWindowManager() {
  windowManager_ = spawn("openbox", {"--sm-disable"});
  // openbox manages the screen once it answers for the current desktop.
  for (int attempt = 0; attempt < 200; ++attempt) {
    if (xdotool({QStringLiteral("get_desktop")})) return true;
    QThread::msleep(50);
  }
  failure_ = QStringLiteral("openbox did not start (packages openbox, xdotool)");
  return false;
}

bool xdotool(const QStringList& arguments) {
  QProcess process;
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  process.start(QStringLiteral("xdotool"), arguments);
  return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool moveMouse(QPoint global) {
  return xdotool({QStringLiteral("mousemove"), QString::number(global.x()), QString::number(global.y())});
}

bool clickMouse(QPoint global) { return moveMouse(global) && xdotool({QStringLiteral("click"), QStringLiteral("1")}); }

bool turnWheel(QPoint global, int notchesDown) {
  const QString button = notchesDown > 0 ? QStringLiteral("5") : QStringLiteral("4");
  return moveMouse(global) && xdotool({QStringLiteral("click"), QStringLiteral("--repeat"),
                                       QString::number(std::abs(notchesDown)), QStringLiteral("--delay"),
                                       QStringLiteral("30"), button});
}

bool pressKey(const char* name) { return xdotool({QStringLiteral("key"), QString::fromLatin1(name)}); }

}  // namespace desktop_testing
