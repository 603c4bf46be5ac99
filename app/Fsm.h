#pragma once

#include <QByteArray>

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <utility>

// A small single-threaded state-stack engine. Behaviour lives in a table of
// callbacks keyed by (from state, to state); a command runs the callback of the
// current state (or of the nearest state below it that has one). The engine
// never changes the current state by itself: the callbacks do that. It knows
// nothing about its users and has no QObject, signals or timers.
namespace Fsm {

// A state name built from four ASCII characters, the first one in the most
// significant byte, so the reserved names read as words in a debugger.
constexpr int fourCharName(const char (&text)[5]) {
  return static_cast<int>((static_cast<unsigned>(static_cast<unsigned char>(text[0])) << 24) |
                          (static_cast<unsigned>(static_cast<unsigned char>(text[1])) << 16) |
                          (static_cast<unsigned>(static_cast<unsigned char>(text[2])) << 8) |
                          static_cast<unsigned>(static_cast<unsigned char>(text[3])));
}

// Events the engine delivers; users keep their own states to small integers.
constexpr int kInit = fourCharName("init");  // a state became active
constexpr int kQuit = fourCharName("quit");  // a state stopped being active
constexpr int kPush = fourCharName("push");  // another state was pushed above this one
constexpr int kBack = fourCharName("back");  // the state above this one was popped
constexpr int kNull = fourCharName("null");  // the empty state

static_assert(kInit == 0x696E6974 && kQuit == 0x71756974 && kPush == 0x70757368 && kBack == 0x6261636B &&
                  kNull == 0x6E756C6C,
              "reserved state names");

// The transition log keeps only the most recent entries.
constexpr std::size_t kLogCapacity = 50;

// A state: its name is its identity; the arguments travel with it to the
// callback when the state is used as a command.
struct state {
  int name = kNull;
  QByteArray args;

  // Implicit, so that users can write command(2) for a state without arguments.
  state(int stateName = kNull, const QByteArray &arguments = QByteArray()) : name(stateName), args(arguments) {}

  // Two states are the same state when their names are equal; arguments do not count.
  bool operator==(const state &other) const { return name == other.name; }
  bool operator!=(const state &other) const { return name != other.name; }
};

// One entry of the log: who handled the event, the command in progress at the
// time ('null' outside a command) and the event or target state.
struct transition {
  state source;
  state command;
  state target;
};

class stack {
public:
  using callback = std::function<void(const QByteArray &)>;

  // Holds exactly the start state, which then receives 'init' (a callback
  // registered later for it is not run retroactively).
  explicit stack(const state &start = state(kNull));
  // Pops every remaining state, so each receives 'quit' and the one below 'back'.
  ~stack();

  stack(const stack &) = delete;
  stack &operator=(const stack &) = delete;

  // Registers (or replaces) the callable for (from, to). An empty callable
  // removes the entry, so the pair then does nothing instead of failing later.
  void addTransition(const state &from, const state &to, callback function);

  // Runs the callable registered for (from, to) with to's arguments and logs
  // the transition. False, and nothing else happens, when there is none.
  bool call(const state &from, const state &to);

  // Offers the trigger to the states from the top down; the first state with a
  // callback for it handles it, and the states above that one are aborted
  // ('quit', then removed). False when the stack is empty or nobody handles it.
  bool command(const state &trigger);

  // Pushes a state above the current one; a state with the top's name is not pushed again.
  void push(const state &next);
  // Removes the top ('quit') and tells the new top ('back').
  void pop();

  // Makes `next` the current state: replaces the top, or pushes when the stack is empty.
  void setCurrentState(const state &next);

  // The top of the stack, or 'null' when the stack is empty.
  state currentState() const;
  // The command in progress; 'null' outside a command.
  const state &currentTrigger() const { return m_currentTrigger; }
  // Bottom first; the back is the top.
  const std::deque<state> &states() const { return m_states; }
  // Oldest first, at most kLogCapacity entries.
  const std::deque<transition> &log() const { return m_log; }

protected:
  // `current` is a state held in the stack: it receives 'quit', is overwritten
  // by `next` (name and arguments), and then `next` receives 'init'.
  void replace(state &current, const state &next);

private:
  std::map<std::pair<int, int>, callback> m_callbacks;
  std::deque<transition> m_log;
  std::deque<state> m_states;
  state m_currentTrigger;
};

}  // namespace Fsm
