#pragma once

// One exchange of one of the five device commands, as the program makes it
// and uses its answer: parameter read into a line and into a password, a
// parameter write, form read (with its preview) and write, the ИНН, goods read
// (with the row made of it) and write, and the state query with its texts.
// Each checks what it got: a known status with a matching error text, fields
// that keep their terminators, and good answers whose values travel back
// unchanged.

constexpr int AnswerOperationCount = 9;

// choice modulo AnswerOperationCount, in the order above.
void RunAnswerOperation(int choice);
