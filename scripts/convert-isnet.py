#!/usr/bin/python3
"""Builds the model resource ISNetGeneral.onnx from the IS-Net weights tarball.

Usage: convert-isnet.py DATA_TARBALL OUTPUT

DATA_TARBALL is the npm tarball of the background-removal data package. Only
its data is read: dist/resources.json lists, per resource, hash-named chunks
that concatenate into the file. The resource /models/medium is the IS-Net
general-use network, exported from PyTorch in float16 with Cast nodes around
the operators that stay in float32, and with every side output of the network.

The result is the same network in float32 with one input `input_image`
[1, 3, 1024, 1024] and one output `output_image` [1, 1, 1024, 1024] (the side-1
prediction, already passed through a sigmoid). It is checked with the ONNX
checker and written atomically: a temporary file beside OUTPUT, then a rename.

Run with Debian's /usr/bin/python3 (python3-onnx, python3-numpy).
"""

import hashlib
import json
import os
import re
import sys
import tarfile
import tempfile

import numpy as np
import onnx
from onnx import TensorProto, helper, numpy_helper

RESOURCES_JSON = "package/dist/resources.json"
CHUNK_FOLDER = "package/dist/"
RESOURCE = "/models/medium"
FINAL_OUTPUT = "output"  # the exporter's name for the side-1 prediction
INPUT_NAME = "input_image"
OUTPUT_NAME = "output_image"
INPUT_SHAPE = [1, 3, 1024, 1024]
OUTPUT_SHAPE = [1, 1, 1024, 1024]


class ConversionError(Exception):
    pass


# --- reading the weights ------------------------------------------------------

def read_resource(tarball, resource):
    """Concatenates the chunks of one resource, checking offsets and hashes."""
    with tarfile.open(tarball, "r:gz") as archive:
        members = {m.name: m for m in archive.getmembers() if m.isfile()}

        def read(name):
            if name not in members:
                raise ConversionError(f"{name} is missing from {os.path.basename(tarball)}")
            return archive.extractfile(members[name]).read()

        try:
            entry = json.loads(read(RESOURCES_JSON))[resource]
            chunks = entry["chunks"]
            size = int(entry["size"])
        except (KeyError, TypeError, ValueError) as error:
            raise ConversionError(f"resources.json has no usable entry {resource} ({error})")

        # Read in archive order (one forward pass through the gzip stream),
        # then join in resource order.
        names = [CHUNK_FOLDER + chunk["hash"] for chunk in chunks]
        for name in names:
            if name not in members:
                raise ConversionError(f"{name} is missing from {os.path.basename(tarball)}")
        data = {name: read(name) for name in sorted(set(names), key=lambda n: members[n].offset_data)}

    parts = []
    position = 0
    for chunk, name in zip(chunks, names):
        begin, end = chunk["offsets"]
        part = data[name]
        if begin != position or end - begin != len(part):
            raise ConversionError(f"chunk {chunk['hash']} does not continue {resource} at byte {position}")
        # The chunk names are the SHA-256 of their contents.
        if re.fullmatch(r"[0-9a-f]{64}", chunk["hash"]) and hashlib.sha256(part).hexdigest() != chunk["hash"]:
            raise ConversionError(f"chunk {chunk['hash']} of {resource} is corrupt")
        parts.append(part)
        position = end
    if position != size:
        raise ConversionError(f"{resource} has {position} bytes of chunks, expected {size}")
    return b"".join(parts)


# --- float16 to float32 -------------------------------------------------------

def widen_tensor(tensor):
    """Rewrites a float16 TensorProto in place as float32."""
    if tensor.data_type == TensorProto.FLOAT16:
        values = numpy_helper.to_array(tensor).astype(np.float32)
        tensor.CopyFrom(numpy_helper.from_array(values, tensor.name))


def widen_value_info(info):
    tensor_type = info.type.tensor_type
    if tensor_type.elem_type == TensorProto.FLOAT16:
        tensor_type.elem_type = TensorProto.FLOAT


def widen_to_float32(graph):
    for tensor in graph.initializer:
        widen_tensor(tensor)
    for node in graph.node:
        for attribute in node.attribute:
            if attribute.type == onnx.AttributeProto.TENSOR:
                widen_tensor(attribute.t)
    for info in list(graph.input) + list(graph.output) + list(graph.value_info):
        widen_value_info(info)


# --- graph surgery --------------------------------------------------------------

def drop_casts(graph):
    """Removes the float16/float32 Cast nodes, which are identities once every
    tensor is float32, and points their consumers at the Cast's input.
    Returns the map from each removed tensor to the tensor that replaces it."""
    replacement = {}
    kept = []
    for node in graph.node:
        if node.op_type != "Cast":
            kept.append(node)
            continue
        target = next(a.i for a in node.attribute if a.name == "to")
        if target not in (TensorProto.FLOAT, TensorProto.FLOAT16):
            raise ConversionError(f"Cast node {node.name} converts to type {target}, not a float type")
        replacement[node.output[0]] = node.input[0]

    def resolve(name):
        while name in replacement:
            name = replacement[name]
        return name

    for node in kept:
        for index, name in enumerate(node.input):
            node.input[index] = resolve(name)
    del graph.node[:]
    graph.node.extend(kept)
    return {name: resolve(name) for name in replacement}


def rename_tensor(graph, old, new):
    for node in graph.node:
        for index, name in enumerate(node.input):
            if name == old:
                node.input[index] = new
        for index, name in enumerate(node.output):
            if name == old:
                node.output[index] = new


def prune(graph, output):
    """Keeps only the nodes, initializers and value infos the output needs."""
    producer = {name: node for node in graph.node for name in node.output}
    needed = set()
    pending = [output]
    while pending:
        name = pending.pop()
        if name in needed:
            continue
        needed.add(name)
        if name in producer:
            pending.extend(i for i in producer[name].input if i)
    kept = [node for node in graph.node if any(o in needed for o in node.output)]
    del graph.node[:]
    graph.node.extend(kept)

    initializers = [t for t in graph.initializer if t.name in needed]
    del graph.initializer[:]
    graph.initializer.extend(initializers)

    interface = {i.name for i in graph.input} | {o.name for o in graph.output}
    infos = [v for v in graph.value_info if v.name in needed and v.name not in interface]
    del graph.value_info[:]
    graph.value_info.extend(infos)


def sort_topologically(graph):
    """Orders the nodes so that each comes after the producers of its inputs,
    keeping the original order among nodes that are ready together."""
    available = {""} | {i.name for i in graph.input} | {t.name for t in graph.initializer}
    remaining = list(graph.node)
    ordered = []
    while remaining:
        ready = [n for n in remaining if all(i in available for i in n.input)]
        if not ready:
            raise ConversionError("the graph has a cycle or an input nobody produces")
        ready_ids = {id(n) for n in ready}
        remaining = [n for n in remaining if id(n) not in ready_ids]
        for node in ready:
            available.update(node.output)
        ordered.extend(ready)
    del graph.node[:]
    graph.node.extend(ordered)


def set_interface(graph, source_input, source_output):
    if len(graph.input) != 1 or graph.input[0].name != source_input:
        raise ConversionError(f"expected one graph input named {source_input!r}")
    rename_tensor(graph, source_input, INPUT_NAME)
    rename_tensor(graph, source_output, OUTPUT_NAME)
    del graph.input[:]
    graph.input.append(helper.make_tensor_value_info(INPUT_NAME, TensorProto.FLOAT, INPUT_SHAPE))
    del graph.output[:]
    graph.output.append(helper.make_tensor_value_info(OUTPUT_NAME, TensorProto.FLOAT, OUTPUT_SHAPE))


def convert(model):
    graph = model.graph
    if FINAL_OUTPUT not in {o.name for o in graph.output}:
        raise ConversionError(f"the network has no output named {FINAL_OUTPUT!r}")
    source_input = graph.input[0].name if graph.input else ""

    widen_to_float32(graph)
    replaced = drop_casts(graph)
    output = replaced.get(FINAL_OUTPUT, FINAL_OUTPUT)
    # The side outputs go: only the final prediction remains a graph output.
    del graph.output[:]
    prune(graph, output)

    producer = {name: node for node in graph.node for name in node.output}
    if output not in producer or producer[output].op_type != "Sigmoid":
        raise ConversionError(f"{FINAL_OUTPUT!r} is not produced by a Sigmoid")
    set_interface(graph, source_input, output)
    sort_topologically(graph)

    leftovers = [t.name for t in graph.initializer if t.data_type == TensorProto.FLOAT16]
    if leftovers or any(n.op_type == "Cast" for n in graph.node):
        raise ConversionError("float16 tensors or Cast nodes remain after conversion")
    onnx.checker.check_model(model, full_check=True)
    return model


# --- writing ----------------------------------------------------------------------

def write_atomically(data, path):
    folder = os.path.dirname(os.path.abspath(path))
    os.makedirs(folder, exist_ok=True)
    handle, temporary = tempfile.mkstemp(dir=folder, prefix="." + os.path.basename(path) + ".", suffix=".tmp")
    try:
        with os.fdopen(handle, "wb") as file:
            file.write(data)
            file.flush()
            os.fsync(file.fileno())
        os.chmod(temporary, 0o644)
        os.replace(temporary, path)
    except BaseException:
        os.unlink(temporary)
        raise


def main(argv):
    if len(argv) != 3:
        print("usage: convert-isnet.py DATA_TARBALL OUTPUT", file=sys.stderr)
        return 2
    tarball, output = argv[1], argv[2]
    try:
        model = onnx.load_model_from_string(read_resource(tarball, RESOURCE))
        data = convert(model).SerializeToString()
        write_atomically(data, output)
    except ConversionError as error:
        print(f"convert-isnet: {error}", file=sys.stderr)
        return 1
    except Exception as error:  # reported on one line, for the setup step's message
        print(f"convert-isnet: {type(error).__name__}: {error}".replace("\n", " "), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
