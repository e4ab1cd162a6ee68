#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Derives the system Diffie-Hellman constants, reproducibly.

The modulus is the first safe prime p = 2q + 1 (p of 1023 bits, q prime) at or
above a number drawn from SHA-512 of a fixed label; the base is the first
square h^2 mod p of exactly 1022 bits, h drawn from SHA-512 of a second label
and a counter, which generates the
subgroup of prime order q. Prints both as 256 hexadecimal digits.

    python3 tools/gen-dh-constants.py
"""
import hashlib
import random

LABEL = b"QuarnelSys system Diffie-Hellman modulus, 1023 bits"
BASE_LABEL = b"QuarnelSys system Diffie-Hellman base"


def draw(label, bits):
    out = b""
    counter = 0
    while len(out) * 8 < bits:
        out += hashlib.sha512(label + counter.to_bytes(4, "big")).digest()
        counter += 1
    return int.from_bytes(out, "big") >> (len(out) * 8 - bits)


def is_probable_prime(n, rounds=64):
    if n < 2:
        return False
    d, s = n - 1, 0
    while d % 2 == 0:
        d //= 2
        s += 1
    rng = random.Random(n)  # deterministic witnesses
    for _ in range(rounds):
        a = rng.randrange(2, n - 1)
        x = pow(a, d, n)
        if x in (1, n - 1):
            continue
        for _ in range(s - 1):
            x = x * x % n
            if x == n - 1:
                break
        else:
            return False
    return True


def small_primes(limit):
    sieve = bytearray([1]) * limit
    sieve[0:2] = b"\0\0"
    for i in range(2, int(limit ** 0.5) + 1):
        if sieve[i]:
            sieve[i * i :: i] = bytearray(len(sieve[i * i :: i]))
    return [i for i in range(3, limit) if sieve[i]]


def safe_prime():
    start = draw(LABEL, 1023) | (1 << 1022)
    q0 = (start // 2) | 1
    primes = small_primes(100000)
    window = 1 << 20
    base = 0
    while True:
        # candidate i of this window: q = q0 + 2 * (base + i); strike every i
        # for which q or 2q + 1 has a small factor.
        alive = bytearray([1]) * window
        for r in primes:
            inv2 = pow(2, -1, r)
            qb = (q0 + 2 * base) % r
            for target in (0, (r - 1) * inv2 % r):  # q = 0 or 2q + 1 = 0 (mod r)
                i = (target - qb) * inv2 % r
                alive[i::r] = bytes(len(range(i, window, r)))
        for i in range(window):
            if not alive[i]:
                continue
            q = q0 + 2 * (base + i)
            if pow(2, q - 1, q) != 1:
                continue
            p = 2 * q + 1
            if pow(2, p - 1, p) == 1 and is_probable_prime(q) and is_probable_prime(p):
                assert p.bit_length() == 1023
                return p, q
        base += window


def main():
    p, q = safe_prime()
    counter = 0
    while True:
        h = draw(BASE_LABEL + counter.to_bytes(4, "big"), 1023) % p
        g = pow(h, 2, p)
        if g.bit_length() == 1022 and g != 1 and pow(g, q, p) == 1:
            break
        counter += 1
    print("modulus %0256X" % p)
    print("base    %0256X" % g)


if __name__ == "__main__":
    main()
