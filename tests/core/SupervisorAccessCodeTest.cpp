#include <gtest/gtest.h>

#include "supervisor/AccessCode.h"
#include "tests/core/TestSupport.h"

using namespace zv;
using zvtest::Asked;

TEST(SupervisorAccessCode, IsOneLetterComparedInUpperCase) {
  for (const char* right : {"K", "k"}) EXPECT_TRUE(isAccessCode(right)) << right;
  for (const char* wrong : {"KK", "K ", "", "J"}) EXPECT_FALSE(isAccessCode(wrong)) << wrong;
}

// Every prompt is the secret entry of eight characters; each wrong code is
// told and asked again until the right one or Cancel.
TEST(SupervisorAccessCode, AskedUntilRightOrCancelled) {
  const Asked wrong{"Incorrect password.  Please try again.", "Incorrect Password", Buttons::Ok, Icon::Critical};
  const struct { std::vector<const char*> typed; bool result; } cases[] = {
      {{"k"}, true}, {{"secret", nullptr}, false}, {{"a", "kk", "K"}, true}, {{nullptr}, false}};
  for (const auto& c : cases) {
    ScriptedInputPrompt input;
    ScriptedPrompter prompter;
    for (const char* t : c.typed) t ? input.type(t) : input.cancel();
    EXPECT_EQ(AskAccessCode(input, prompter), c.result);
    ASSERT_EQ(input.requests.size(), c.typed.size());
    for (const InputRequest& r : input.requests) {
      EXPECT_EQ(r.caption, "Enter Secret Code");
      EXPECT_EQ(r.inputLength, 8);
      EXPECT_EQ(r.helpMessage, "Enter the secret code to continue.  For security, asterisks (*) will show as you type.");
      EXPECT_TRUE(r.passwordInput);
    }
    EXPECT_EQ(prompter.asked, zvtest::AskedList(c.typed.size() - 1, wrong));
  }
}
