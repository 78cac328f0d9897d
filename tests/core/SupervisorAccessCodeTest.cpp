#include <gtest/gtest.h>

#include "supervisor/AccessCode.h"
#include "ui/Prompter.h"

using namespace zv;

TEST(SupervisorAccessCode, IsOneLetterComparedInUpperCase) {
  EXPECT_EQ(std::string(kAccessCode).size(), 1u);
  EXPECT_TRUE(isAccessCode("K"));
  EXPECT_TRUE(isAccessCode("k"));
  EXPECT_FALSE(isAccessCode("KK"));
  EXPECT_FALSE(isAccessCode("K "));
  EXPECT_FALSE(isAccessCode(""));
  EXPECT_FALSE(isAccessCode("J"));
}

TEST(SupervisorAccessCode, PromptIsTheSecretEntryOfEightCharacters) {
  const InputRequest r = accessCodeRequest();
  EXPECT_EQ(r.caption, "Enter Secret Code");
  EXPECT_EQ(r.inputLength, 8);
  EXPECT_EQ(r.helpMessage, "Enter the secret code to continue.  For security, asterisks (*) will show as you type.");
  EXPECT_TRUE(r.passwordInput);
}

TEST(SupervisorAccessCode, LowerCaseEntryIsAcceptedAtOnce) {
  ScriptedInputPrompt input;
  ScriptedPrompter prompter;
  input.type("k");
  EXPECT_TRUE(AskAccessCode(input, prompter));
  EXPECT_EQ(input.requests.size(), 1u);
  EXPECT_TRUE(prompter.asked.empty());
}

TEST(SupervisorAccessCode, WrongCodeIsToldAndAskedAgainThenCancelGivesFalse) {
  ScriptedInputPrompt input;
  ScriptedPrompter prompter;
  input.type("secret");
  input.cancel();
  EXPECT_FALSE(AskAccessCode(input, prompter));
  ASSERT_EQ(input.requests.size(), 2u);
  EXPECT_TRUE(input.requests[1].passwordInput);
  ASSERT_EQ(prompter.asked.size(), 1u);
  EXPECT_EQ(prompter.asked[0].text, "Incorrect password.  Please try again.");
  EXPECT_EQ(prompter.asked[0].title, "Incorrect Password");
  EXPECT_EQ(prompter.asked[0].icon, Icon::Critical);
  EXPECT_EQ(prompter.asked[0].buttons, Buttons::Ok);
}

TEST(SupervisorAccessCode, WrongTwiceThenRightGivesTrue) {
  ScriptedInputPrompt input;
  ScriptedPrompter prompter;
  input.type("a");
  input.type("kk");
  input.type("K");
  EXPECT_TRUE(AskAccessCode(input, prompter));
  EXPECT_EQ(input.requests.size(), 3u);
  EXPECT_EQ(prompter.asked.size(), 2u);
}
