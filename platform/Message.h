#pragma once

// Where error messages go. The stock sink writes "Error: <text>" as one line
// to stderr, the caption followed by the text, and then shows the text in a
// modal error box until the player dismisses it. Tests set sinks of their own.
using MessageSink = void (*)(const char* szText);

// Shows one error message through the current sink.
void ShowErrorMessage(const char* szText);

// Replaces the sink and returns the one before; null restores the stock sink.
MessageSink SetMessageSink(MessageSink pSink);
