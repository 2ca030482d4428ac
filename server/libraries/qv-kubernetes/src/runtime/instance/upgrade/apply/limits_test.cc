// Operations of a few bytes each that would make a file grow without end, or
// search it without end, are stopped at the size limit of the result, at
// the search budget of one operation and at the work budget of a command.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qv_yaml/parse.h"
#include "runtime/instance/upgrade/apply/result_limit.h"
#include "runtime/instance/upgrade/apply/working_text.h"
#include "runtime/instance/upgrade/spec/read.h"

namespace runtime::instance::upgrade::apply {
namespace {

constexpr std::string_view kTooLarge =
    "Could not render 'configs/app.yaml' while upgrading to '1.2.0': size limit exceeded: the text would be longer "
    "than 16777216 bytes.";

std::vector<spec::Operation> operations(const std::string& yaml) {
  auto node = qv_yaml::parse_single(yaml);
  EXPECT_TRUE(node) << node.error();
  auto list = spec::read_operations(*node);
  EXPECT_TRUE(list) << list.error().text();
  return *list;
}

// `times` copies of the operation written as a flow mapping.
std::string repeated(int times, const std::string& operation) {
  std::string list;
  for (int i = 0; i < times; ++i) list += "- " + operation + "\n";
  return list;
}

struct Outcome {
  std::string code;
  std::string message;
  std::size_t size = 0;
};

// Runs the operations as one modify step does: on one working text, drawing
// on `work`.
Outcome run(const std::vector<spec::Operation>& ops, std::string text, WorkBudget& work) {
  PatternCache patterns;
  WorkingText working(std::move(text), "1.2.0", "configs/app.yaml", EditContext{patterns, work});
  const auto failed = [](const core::system::exit::CommandError& error) {
    return Outcome{error.source->code, error.source->qv_error.message()};
  };
  for (const spec::Operation& op : ops) {
    auto fired = op.apply(working);
    if (!fired) return failed(fired.error());
  }
  auto result = working.take();
  if (!result) return failed(result.error());
  return {"no failure", "", result->size()};
}

Outcome run(const std::vector<spec::Operation>& ops, std::string text) {
  WorkBudget work;
  return run(ops, std::move(text), work);
}

TEST(ResultLimit, GrowthPastTheLimitFailsNamingIt) {
  const std::string kilobyte(1024, 'k');
  const struct {
    std::string name;
    std::string operations;
    std::string text;
  } cases[] = {
      {"text doubled by empty matches", repeated(24, "{op: modify-text-if, pattern: '', replacement: x}"),
       "a: 1\n"},
      {"mappings doubled by insertions everywhere",
       [&] {
         std::string list;
         for (int i = 0; i < 24; ++i) {
           list += "- {op: insert-sibling-if-existing, leaf: a, sibling: s" + std::to_string(i) +
                   ", value: {a: " + kilobyte + "}, scope: everywhere}\n";
         }
         return list;
       }(),
       "a: 1\n"},
      {"items doubled by derivation",
       repeated(30, "{op: derive-item-if-missing, leaf: l, pattern: '^(?<x>.*)$', item: '${x}${x}'}"),
       "l: [ab]\n"},
      {"a sibling that repeats a large group",
       "- {op: derive-sibling-if-existing, leaf: a, pattern: '(?<x>.+)', sibling: b, value: '" +
           [] {
             std::string groups;
             for (int i = 0; i < 1000; ++i) groups += "${x}";
             return groups;
           }() +
           "'}\n",
       "a: " + std::string(20'000, 'v') + "\n"},
      {"a document nested so deep that its indentation passes the limit",
       "- {op: modify-leaf-value-if, leaf: k, from: 1, to: 2}\n",
       [] {
         // A string of two million lines, 40 mappings deep, written in flow
         // style: a few bytes for each line, 80 spaces more once each line
         // stands indented in a literal block.
         std::string text = "k: 1\nd: ";
         for (int i = 0; i < 40; ++i) text += "{a: ";
         text += '"';
         for (int i = 0; i < 2'000'000; ++i) text += "x\\n";
         return text + '"' + std::string(40, '}') + "\n";
       }()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome outcome = run(operations(c.operations), c.text);
    EXPECT_EQ(outcome.code, "UpgradeError::5350");
    EXPECT_EQ(outcome.message, kTooLarge);
  }
}

TEST(ResultLimit, AResultOfExactlyTheLimitIsWritten) {
  const std::string text(kMaxResultBytes - 1, 'a');
  const Outcome fits = run(operations("- {op: modify-text-if, pattern: 'a$', replacement: aa}\n"), text);
  EXPECT_EQ(fits.code, "no failure") << fits.message;
  EXPECT_EQ(fits.size, kMaxResultBytes);
  const Outcome over = run(operations("- {op: modify-text-if, pattern: 'a$', replacement: aaa}\n"), text);
  EXPECT_EQ(over.code, "UpgradeError::5350");
  EXPECT_EQ(over.message, kTooLarge);
}

TEST(ResultLimit, ALargeFileThatNoOperationChangesIsHandedBack) {
  const std::string text = "a: " + std::string(kMaxResultBytes, 'v') + "\nl: [x1, y1]\nm: {k: 1, s: 2}\n";
  const Outcome outcome =
      run(operations("- {op: remove-leaf-if, leaf: b}\n"
                     "- {op: modify-text-if, pattern: absent, replacement: x}\n"
                     "- {op: derive-item-if-missing, leaf: l, pattern: '^x(?<n>1)$', item: 'y${n}'}\n"
                     "- {op: insert-sibling-if-existing, leaf: m.k, sibling: s, value: 3, scope: everywhere}\n"
                     "- {op: derive-sibling-if-existing, leaf: m.k, pattern: '.', sibling: s, value: 3}\n"),
          text);
  EXPECT_EQ(outcome.code, "no failure") << outcome.message;
  EXPECT_EQ(outcome.size, text.size());
}

TEST(SearchBudget, SearchesThatTogetherBacktrackTooLongFail) {
  const std::string eighteen(18, 'a');
  std::string lines;
  for (int i = 0; i < 900; ++i) lines += eighteen + "\n";
  std::string items;
  for (int i = 0; i < 200; ++i) items += (i ? ", " : "") + eighteen;
  std::string words;
  for (int i = 0; i < 200; ++i) words += eighteen + " ";
  const struct {
    std::string name;
    std::string operation;
    std::string text;
    std::string pattern;
    std::string cause;
  } cases[] = {
      {"one search per match", "{op: modify-text-if, pattern: '(?:(?:a|a)*c)?', replacement: x}", lines,
       "(?:(?:a|a)*c)?", "match limit exceeded: the searches of one operation took more than 100000000 steps"},
      {"one search per item", "{op: derive-item-if-missing, leaf: l, pattern: '(?:a|a)*[cd]', item: x}",
       "l: [" + items + "]\n", "(?:a|a)*[cd]",
       "match limit exceeded: the searches of one operation took more than 100000000 steps"},
      {"one search from every position",
       "{op: derive-sibling-if-existing, leaf: l, pattern: '(?:a|a)*[cd]', sibling: s, value: x}",
       "l: " + words + "\n", "(?:a|a)*[cd]",
       "match limit exceeded: the searches of one operation took more than 100000000 steps"},
      {"many groups in every backtracking frame",
       "{op: modify-text-if, pattern: '" + [] {
         std::string groups;
         for (int i = 0; i < 2000; ++i) groups += "()";
         return groups;
       }() + "(?:a|b)*c', replacement: x}",
       std::string(10'000, 'a') + "xc", "", "heap limit exceeded"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome outcome = run(operations("- " + c.operation + "\n"), c.text);
    EXPECT_EQ(outcome.code, "UpgradeError::5352");
    if (!c.pattern.empty()) {
      EXPECT_EQ(outcome.message, "The pattern '" + c.pattern +
                                     "' for 'configs/app.yaml' in the upgrade to '1.2.0' is invalid: " + c.cause +
                                     ".");
    }
    EXPECT_TRUE(outcome.message.ends_with(" is invalid: " + c.cause + ".")) << outcome.message;
  }
}

// A parse or a render costs 16 units a byte, an edit 2 a byte of its
// document, a search 16 and its steps. "a: 1\n" takes 5 bytes as text and
// as a document.
TEST(WorkBudget, EachKindOfWorkFailsWithTheErrorOfWhatReachedTheLimit) {
  const std::string flat = "a: 1\n";
  const auto cause = [](std::uint64_t units) {
    return "work limit exceeded: the edit operations of one command took more than " + std::to_string(units) +
           " units of work.";
  };
  const struct {
    std::string name;
    std::uint64_t units;
    std::string operations;
    std::string text;
    std::string code;
    std::string message;
  } cases[] = {
      {"the parse", 79, "- {op: remove-leaf-if, leaf: b}\n", flat, "UpgradeError::5349",
       "Could not parse 'configs/app.yaml' while upgrading to '1.2.0': " + cause(79)},
      {"the edits of a parsed document", 80 + 10 * 20 + 9, repeated(21, "{op: remove-leaf-if, leaf: b}"), flat,
       "UpgradeError::5350", "Could not render 'configs/app.yaml' while upgrading to '1.2.0': " + cause(289)},
      {"the render", 80 + 10 + 79, "- {op: modify-leaf-value-if, leaf: a, from: 1, to: 2}\n", flat,
       "UpgradeError::5350", "Could not render 'configs/app.yaml' while upgrading to '1.2.0': " + cause(169)},
      {"the searches", 1000, "- {op: modify-text-if, pattern: a, replacement: b}\n", std::string(100, 'a'),
       "UpgradeError::5352",
       "The pattern 'a' for 'configs/app.yaml' in the upgrade to '1.2.0' is invalid: " + cause(1000)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WorkBudget work(c.units);
    const Outcome outcome = run(operations(c.operations), c.text, work);
    EXPECT_EQ(outcome.code, c.code);
    EXPECT_EQ(outcome.message, c.message);
  }
}

TEST(WorkBudget, TheStepsOfACommandDrawOnOneBudget) {
  const auto ops = operations("- {op: modify-leaf-value-if, leaf: a, from: 1, to: 2}\n");
  // Each step parses 5 bytes, edits them and renders 5: 170 units.
  WorkBudget work(2 * 170 + 169);
  for (int step = 0; step < 2; ++step) {
    SCOPED_TRACE(step);
    EXPECT_EQ(run(ops, "a: 1\n", work).code, "no failure");
  }
  EXPECT_EQ(work.left(), 169u);
  EXPECT_EQ(run(ops, "a: 1\n", work).code, "UpgradeError::5350");
}

}  // namespace
}  // namespace runtime::instance::upgrade::apply
