#include "Fsm.h"
#include "TestSupport.h"

#include <memory>

namespace {

constexpr int kCommand = 9;

// Records every event and command callback as text ("2:quit", "1->9"), in order.
struct Recorder {
  QStringList events;

  void watchEvents(Fsm::stack &fsm, const QVector<int> &names) {
    const QList<QPair<int, QString>> kinds = {
        {Fsm::kInit, "init"}, {Fsm::kQuit, "quit"}, {Fsm::kPush, "push"}, {Fsm::kBack, "back"}};
    for (int name : names) {
      for (const auto &kind : kinds) {
        const QString text = QStringLiteral("%1:%2").arg(name).arg(kind.second);
        fsm.addTransition(name, kind.first, [this, text](const QByteArray &) { events << text; });
      }
    }
  }

  void handle(Fsm::stack &fsm, int from, int command) {
    const QString text = QStringLiteral("%1->%2").arg(from).arg(command);
    fsm.addTransition(from, command, [this, text](const QByteArray &) { events << text; });
  }
};

QVector<int> namesOf(const Fsm::stack &fsm) {
  QVector<int> names;
  for (const Fsm::state &s : fsm.states()) names << s.name;
  return names;
}

// A stack holding `names` (bottom first); an empty list gives an empty stack.
std::unique_ptr<Fsm::stack> stackOf(const QVector<int> &names) {
  auto fsm = std::make_unique<Fsm::stack>(names.isEmpty() ? 1 : names.first());
  if (names.isEmpty()) fsm->pop();
  for (int i = 1; i < names.size(); ++i) fsm->push(names.at(i));
  return fsm;
}

}  // namespace

class TestFsm : public QObject {
  Q_OBJECT

private slots:
  void reservedNames_readAsFourCharacters() {
    QCOMPARE(Fsm::kInit, 0x696E6974);
    QCOMPARE(Fsm::kQuit, 0x71756974);
    QCOMPARE(Fsm::kPush, 0x70757368);
    QCOMPARE(Fsm::kBack, 0x6261636B);
    QCOMPARE(Fsm::kNull, 0x6E756C6C);
    QCOMPARE(Fsm::state().name, Fsm::kNull);
  }

  void construction_holdsStartStateAndDoesNotRunLaterInitRetroactively() {
    Recorder recorder;
    Fsm::stack fsm(5);
    recorder.watchEvents(fsm, {5});
    QCOMPARE(namesOf(fsm), QVector<int>{5});
    QCOMPARE(fsm.currentTrigger().name, Fsm::kNull);
    QVERIFY(fsm.currentTrigger().args.isEmpty());
    QVERIFY(recorder.events.isEmpty());
    QVERIFY(fsm.log().empty());
  }

  void defaultConstruction_startsInNull() {
    Fsm::stack fsm;
    QCOMPARE(namesOf(fsm), QVector<int>{Fsm::kNull});
    QCOMPARE(fsm.currentState().name, Fsm::kNull);
  }

  // One table for the event deliveries of push, pop, set, command and destruction.
  void events_data() {
    QTest::addColumn<QVector<int>>("initial");
    QTest::addColumn<QVector<int>>("handlers");
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QVector<int>>("after");

    const QVector<int> none;
    QTest::newRow("push tells the old top, then inits the new one")
        << QVector<int>{1, 2} << none << "push 3" << true << QStringList{"2:push", "3:init"} << QVector<int>{1, 2, 3};
    QTest::newRow("push of the top's name does nothing")
        << QVector<int>{1, 2} << none << "push 2" << true << QStringList{} << QVector<int>{1, 2};
    QTest::newRow("push on an empty stack only inits")
        << none << none << "push 4" << true << QStringList{"4:init"} << QVector<int>{4};
    QTest::newRow("pop quits the top, then tells the new top")
        << QVector<int>{1, 2, 3} << none << "pop" << true << QStringList{"3:quit", "2:back"} << QVector<int>{1, 2};
    QTest::newRow("pop of the last state only quits")
        << QVector<int>{1} << none << "pop" << true << QStringList{"1:quit"} << none;
    QTest::newRow("pop of an empty stack does nothing") << none << none << "pop" << true << QStringList{} << none;
    QTest::newRow("set replaces the top")
        << QVector<int>{1, 2} << none << "set 4" << true << QStringList{"2:quit", "4:init"} << QVector<int>{1, 4};
    QTest::newRow("set on an empty stack pushes")
        << none << none << "set 4" << true << QStringList{"4:init"} << QVector<int>{4};
    QTest::newRow("set of the same name still replaces")
        << QVector<int>{2} << none << "set 2" << true << QStringList{"2:quit", "2:init"} << QVector<int>{2};
    QTest::newRow("command handled by the top")
        << QVector<int>{1, 2} << QVector<int>{2} << "command" << true << QStringList{"2->9"} << QVector<int>{1, 2};
    QTest::newRow("command handled below aborts the states above, topmost first")
        << QVector<int>{1, 2, 3} << QVector<int>{1} << "command" << true << QStringList{"1->9", "3:quit", "2:quit"}
        << QVector<int>{1};
    QTest::newRow("command handled by the nearest state with a callback")
        << QVector<int>{1, 2, 3} << QVector<int>{1, 2} << "command" << true << QStringList{"2->9", "3:quit"}
        << QVector<int>{1, 2};
    QTest::newRow("command nobody handles changes nothing")
        << QVector<int>{1, 2, 3} << none << "command" << false << QStringList{} << QVector<int>{1, 2, 3};
    QTest::newRow("command on an empty stack")
        << none << QVector<int>{1} << "command" << false << QStringList{} << none;
    QTest::newRow("destruction pops everything")
        << QVector<int>{1, 2, 3} << none << "destroy" << true
        << QStringList{"3:quit", "2:back", "2:quit", "1:back", "1:quit"} << none;
  }

  void events() {
    QFETCH(QVector<int>, initial);
    QFETCH(QVector<int>, handlers);
    QFETCH(QString, action);
    QFETCH(bool, result);
    QFETCH(QStringList, events);
    QFETCH(QVector<int>, after);

    Recorder recorder;
    std::unique_ptr<Fsm::stack> fsm = stackOf(initial);
    recorder.watchEvents(*fsm, {1, 2, 3, 4});
    for (int from : handlers) recorder.handle(*fsm, from, kCommand);

    const QStringList words = action.split(' ');
    bool actual = true;
    if (words.first() == "push")
      fsm->push(words.at(1).toInt());
    else if (words.first() == "pop")
      fsm->pop();
    else if (words.first() == "set")
      fsm->setCurrentState(words.at(1).toInt());
    else if (words.first() == "command")
      actual = fsm->command(kCommand);
    else if (words.first() == "destroy")
      fsm.reset();

    QCOMPARE(actual, result);
    QCOMPARE(recorder.events, events);
    if (fsm) QCOMPARE(namesOf(*fsm), after);
  }

  void command_passesArgumentsLogsAndSetsTrigger() {
    Fsm::stack fsm(1);
    QByteArray received;
    fsm.addTransition(1, 2, [&received](const QByteArray &args) { received = args; });

    QVERIFY(fsm.command(Fsm::state(2, "ttyACM0")));

    QCOMPARE(received, QByteArray("ttyACM0"));
    QCOMPARE(fsm.log().size(), std::size_t(1));
    const Fsm::transition &entry = fsm.log().back();
    QCOMPARE(entry.source.name, 1);
    QCOMPARE(entry.command.name, Fsm::kNull);
    QCOMPARE(entry.target.name, 2);
    QCOMPARE(entry.target.args, QByteArray("ttyACM0"));
    QCOMPARE(fsm.currentTrigger().name, 2);
    QCOMPARE(fsm.currentTrigger().args, QByteArray("ttyACM0"));
    // A command never changes the current state by itself.
    QCOMPARE(namesOf(fsm), QVector<int>{1});
  }

  void unhandledCommand_resetsTheTriggerOfAnEarlierCommand() {
    Fsm::stack fsm(1);
    fsm.addTransition(1, 2, [](const QByteArray &) {});
    QVERIFY(fsm.command(2));
    QCOMPARE(fsm.currentTrigger().name, 2);

    QVERIFY(!fsm.command(7));
    QCOMPARE(fsm.currentTrigger().name, Fsm::kNull);
    QCOMPARE(fsm.log().size(), std::size_t(1));
  }

  void abortedStates_logTheirQuitWithNullCommand() {
    Fsm::stack fsm(1);
    fsm.push(2);
    fsm.addTransition(1, kCommand, [](const QByteArray &) {});
    fsm.addTransition(2, Fsm::kQuit, [](const QByteArray &) {});
    QVERIFY(fsm.command(kCommand));
    QCOMPARE(fsm.log().size(), std::size_t(2));
    QCOMPARE(fsm.log().at(0).source.name, 1);
    QCOMPARE(fsm.log().at(0).target.name, kCommand);
    QCOMPARE(fsm.log().at(1).source.name, 2);
    QCOMPARE(fsm.log().at(1).target.name, Fsm::kQuit);
    QCOMPARE(fsm.log().at(1).command.name, Fsm::kNull);
    QCOMPARE(fsm.currentTrigger().name, kCommand);
  }

  void log_keepsTheFiftyMostRecentTransitions() {
    Fsm::stack fsm(1);
    fsm.addTransition(1, 2, [](const QByteArray &) {});
    for (int i = 1; i <= 51; ++i) QVERIFY(fsm.command(Fsm::state(2, QByteArray::number(i))));
    QCOMPARE(fsm.log().size(), Fsm::kLogCapacity);
    QCOMPARE(fsm.log().front().target.args, QByteArray("2"));
    QCOMPARE(fsm.log().back().target.args, QByteArray("51"));
  }

  // The users' pattern: force the state to A, command B, and the callback sets B.
  void explicitTransition_callbackSetsTheNewState() {
    Recorder recorder;
    Fsm::stack fsm;
    fsm.addTransition(0, 1, [&](const QByteArray &) {
      recorder.events << "connecting";
      fsm.setCurrentState(1);
    });
    fsm.addTransition(2, 0, [&](const QByteArray &) { recorder.events << "disconnecting"; });
    fsm.setCurrentState(0);

    QVERIFY(!fsm.command(0));  // disconnect while disconnected runs nothing
    QVERIFY(fsm.command(1));
    QCOMPARE(namesOf(fsm), QVector<int>{1});
    QCOMPARE(fsm.currentState().name, 1);
    QCOMPARE(fsm.currentTrigger().name, 1);
    QCOMPARE(recorder.events, QStringList{"connecting"});
  }

  void addTransition_again_replacesTheCallable() {
    QStringList calls;
    Fsm::stack fsm(1);
    fsm.addTransition(1, 2, [&calls](const QByteArray &) { calls << "first"; });
    fsm.addTransition(1, 2, [&calls](const QByteArray &) { calls << "second"; });
    QVERIFY(fsm.command(2));
    QCOMPARE(calls, QStringList{"second"});
  }

  void addTransition_emptyCallable_leavesThePairUnhandled() {
    Fsm::stack fsm(1);
    fsm.addTransition(1, 2, [](const QByteArray &) {});
    fsm.addTransition(1, 2, Fsm::stack::callback());
    QVERIFY(!fsm.command(2));
    QVERIFY(fsm.log().empty());
  }

  void callbackReRegisteringItself_runsToTheEnd() {
    QStringList calls;
    Fsm::stack fsm(1);
    fsm.addTransition(1, 2, [&](const QByteArray &args) {
      fsm.addTransition(1, 2, [&calls](const QByteArray &) { calls << "replacement"; });
      calls << QString::fromLatin1(args);  // still uses this closure's captures
    });
    QVERIFY(fsm.command(Fsm::state(2, "original")));
    QVERIFY(fsm.command(2));
    QCOMPARE(calls, (QStringList{"original", "replacement"}));
  }

  void statesCompareByNameOnly() {
    QVERIFY(Fsm::state(3, "a") == Fsm::state(3, "b"));
    QVERIFY(Fsm::state(3) != Fsm::state(4));
  }
};

ORVIK_TEST_MAIN(TestFsm)
#include "tst_fsm.moc"
