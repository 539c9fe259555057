"""Expectations about a machine or a program, and waiting for them."""
import time


class CheckFailed(Exception):
    """An expectation about a machine or a program that did not hold."""


def expect(condition, what):
    if not condition:
        raise CheckFailed(what)


def expect_equal(actual, expected, what):
    if actual != expected:
        raise CheckFailed(f"{what}: expected {expected!r}, got {actual!r}")


def wait_until(condition, seconds, interval=0.2) -> bool:
    deadline = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > deadline:
            return False
        time.sleep(interval)
    return True
