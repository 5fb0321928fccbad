#include "platform/Platform_Process.h"

#include "platform/Platform_Messages.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <map>

namespace {

// The record a datagram carries.
struct Channel_Record {
  uint32_t Message;
  uint32_t Reserved;
  uint64_t WParam;
  int64_t LParam;
};

struct Process_State {
  int Signal_Pipe[2] = {-1, -1};
  std::function<void(int)> Signal_Handler;
  int Signal_Poller = 0;
  std::map<Window_Handle, std::pair<int, int>> Listeners; // window -> socket, poller id
};

Process_State& State() {
  static Process_State state;
  return state;
}

void On_Signal(int number) {
  int saved = errno;
  unsigned char byte = static_cast<unsigned char>(number);
  ssize_t ignored = write(State().Signal_Pipe[1], &byte, 1);
  (void)ignored;
  errno = saved;
}

socklen_t Make_Address(Window_Handle window, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  std::string name = Channel_Name(window);
  // Abstract namespace: a leading NUL byte, then the name.
  std::memcpy(address.sun_path + 1, name.data(), name.size());
  return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
}

} // namespace

void Signals_Catch_Termination(std::function<void(int)> handler) {
  auto& s = State();
  s.Signal_Handler = std::move(handler);
  if (s.Signal_Pipe[0] < 0) {
    if (pipe2(s.Signal_Pipe, O_NONBLOCK | O_CLOEXEC) != 0) return;
    s.Signal_Poller = Messages_Add_Poller([] {
      unsigned char byte;
      while (read(State().Signal_Pipe[0], &byte, 1) == 1)
        if (State().Signal_Handler) State().Signal_Handler(byte);
    });
  }
  struct sigaction action{};
  action.sa_handler = On_Signal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

std::string Channel_Name(Window_Handle window) { return "glowsaver-window-" + std::to_string(window); }

bool Channel_Send(Window_Handle window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  sockaddr_un address;
  socklen_t length = Make_Address(window, address);
  Channel_Record record{message, 0, wparam, lparam};
  bool sent = sendto(fd, &record, sizeof record, 0, reinterpret_cast<sockaddr*>(&address), length) ==
              static_cast<ssize_t>(sizeof record);
  close(fd);
  return sent;
}

bool Channel_Listen(Window_Handle window) {
  auto& s = State();
  if (s.Listeners.count(window)) return true;
  int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return false;
  sockaddr_un address;
  socklen_t length = Make_Address(window, address);
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0) {
    close(fd);
    return false;
  }
  int poller = Messages_Add_Poller([fd, window] {
    Channel_Record record;
    while (recv(fd, &record, sizeof record, 0) == static_cast<ssize_t>(sizeof record))
      Post_Message(window, record.Message, static_cast<uintptr_t>(record.WParam), static_cast<intptr_t>(record.LParam));
  });
  s.Listeners[window] = {fd, poller};
  return true;
}

void Channel_Stop_Listening(Window_Handle window) {
  auto& s = State();
  auto it = s.Listeners.find(window);
  if (it == s.Listeners.end()) return;
  Messages_Remove_Poller(it->second.second);
  close(it->second.first);
  s.Listeners.erase(it);
}
