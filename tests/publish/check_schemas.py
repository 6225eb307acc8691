#!/usr/bin/env python3
"""Checks payloads against the schemas of docs/schemas.

    check_schemas.py SCHEMA_DIR PAYLOADS

PAYLOADS holds one payload a line: the schema's name, a tab, the JSON text. Exit 0 when
every payload is valid, 1 with each failure named, 77 when python3-jsonschema is missing.
"""
import json
import sys

try:
    import jsonschema
except ImportError:
    print("python3-jsonschema is not installed (scripts/setup)")
    sys.exit(77)


def main():
    schema_dir, payloads = sys.argv[1], sys.argv[2]
    validators = {}
    failures = 0
    with open(payloads, encoding="utf-8") as f:
        for number, row in enumerate(f, 1):
            name, text = row.rstrip("\n").split("\t", 1)
            if name not in validators:
                with open(f"{schema_dir}/{name}.schema.json", encoding="utf-8") as s:
                    schema = json.load(s)
                jsonschema.Draft202012Validator.check_schema(schema)
                validators[name] = jsonschema.Draft202012Validator(
                    schema, format_checker=jsonschema.FormatChecker())
            for error in validators[name].iter_errors(json.loads(text)):
                failures += 1
                path = "/".join(str(p) for p in error.absolute_path)
                print(f"payload {number} ({name}) at /{path}: {error.message[:300]}")
    sys.exit(1 if failures else 0)


main()
