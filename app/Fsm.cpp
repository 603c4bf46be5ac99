#include "Fsm.h"

// Callbacks run synchronously and may change the stack they are called from
// (users replace the top from inside a command). So nothing here keeps a
// reference or an index into the stack across a callback without checking it
// again afterwards, and every state handed to a callback is a copy.

namespace Fsm {

stack::stack(const state &start) {
  m_states.push_back(start);
  call(m_states.back(), kInit);
}

stack::~stack() {
  while (!m_states.empty()) pop();
}

void stack::addTransition(const state &from, const state &to, callback function) {
  const std::pair<int, int> key(from.name, to.name);
  if (!function) {
    m_callbacks.erase(key);
    return;
  }
  m_callbacks[key] = std::move(function);
}

bool stack::call(const state &from, const state &to) {
  const auto found = m_callbacks.find(std::make_pair(from.name, to.name));
  if (found == m_callbacks.end()) return false;
  // Copies first: the callable may re-register its own pair or change the
  // states that `from` and `to` refer to.
  const callback function = found->second;
  const QByteArray args = to.args;
  m_log.push_back(transition{from, m_currentTrigger, to});
  while (m_log.size() > kLogCapacity) m_log.pop_front();
  function(args);
  return true;
}

bool stack::command(const state &trigger) {
  if (m_states.empty()) return false;
  const state command = trigger;  // the trigger may be a reference into the stack
  m_currentTrigger = state();
  for (std::size_t visited = 0; visited < m_states.size(); ++visited) {
    const std::size_t index = m_states.size() - 1 - visited;
    const state candidate = m_states[index];
    if (!call(candidate, command)) continue;  // nothing ran, so the stack is as it was
    // The states above the handler had no callback for this command: they are
    // aborted, topmost first. Positions the callback has already removed are skipped.
    for (std::size_t position = index + visited; position > index; --position) {
      if (position >= m_states.size()) continue;
      const state aborted = m_states[position];
      call(aborted, kQuit);
      if (position < m_states.size()) m_states.erase(m_states.begin() + static_cast<std::ptrdiff_t>(position));
    }
    m_currentTrigger = command;
    return true;
  }
  return false;
}

void stack::push(const state &next) {
  const state pushed = next;
  if (!m_states.empty()) {
    if (m_states.back().name == pushed.name) return;
    const state below = m_states.back();
    call(below, kPush);
  }
  m_states.push_back(pushed);
  call(pushed, kInit);
}

void stack::pop() {
  if (m_states.empty()) return;
  const state top = m_states.back();
  call(top, kQuit);
  if (!m_states.empty()) m_states.pop_back();
  if (!m_states.empty()) {
    const state newTop = m_states.back();
    call(newTop, kBack);
  }
}

void stack::setCurrentState(const state &next) {
  if (m_states.empty())
    push(next);
  else
    replace(m_states.back(), next);
}

state stack::currentState() const {
  return m_states.empty() ? state() : m_states.back();
}

void stack::replace(state &current, const state &next) {
  const state incoming = next;  // `next` may be `current` itself
  const state outgoing = current;
  // Find the entry again after 'quit': its callback may have pushed or popped.
  std::size_t index = m_states.size();
  for (std::size_t i = 0; i < m_states.size(); ++i) {
    if (&m_states[i] == &current) {
      index = i;
      break;
    }
  }
  const bool held = index < m_states.size();
  call(outgoing, kQuit);
  if (held) {
    if (index >= m_states.size()) return;  // the 'quit' callback removed the entry: there is nothing left to overwrite
    m_states[index] = incoming;
  } else {
    current = incoming;
  }
  call(incoming, kInit);
}

}  // namespace Fsm
